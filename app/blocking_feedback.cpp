// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/blocking_feedback.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <cstdlib>

#ifdef LANGXING_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

void FlushToScreen() {
#ifdef LANGXING_HAVE_XCB
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  // A round trip: the reply comes only after the server has carried out every earlier request,
  // the pictures of the window included.
  xcb_connection_t* connection = x11->connection();
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
#endif
}

BusyCursor::BusyCursor() {
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  FlushToScreen();
}

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
