// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/blocking_feedback.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <memory>

#ifdef LANGXING_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace {

#ifdef LANGXING_HAVE_XCB
xcb_connection_t* XConnection() {
  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app == nullptr) return nullptr;
  auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

// Draws the widget's picture into its top-level window on the X server.
void PutIntoWindow(xcb_connection_t* connection, QWidget* widget) {
  QWidget* window = widget->window();
  if (window->windowHandle() == nullptr || !window->windowHandle()->isExposed()) return;
  const auto id = static_cast<xcb_window_t>(window->winId());
  std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
  // The picture is 32 bits a pixel, as the X server takes it for windows of depth 24 and 32.
  if (!geometry || (geometry->depth != 24 && geometry->depth != 32)) return;

  // Painted as the window's own painting lays it down, at the same fraction of a device pixel
  // (at fractional scale factors a widget need not begin on a whole device pixel).
  const qreal scale = widget->devicePixelRatioF();
  const QPointF origin = QPointF(widget->mapTo(window, QPoint(0, 0))) * scale;
  const QRect device = QRectF(origin, QSizeF(widget->size()) * scale).toAlignedRect();
  QImage image(device.size(), QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(window->palette().color(QPalette::Window));
  {
    QPainter painter(&image);
    painter.translate((origin - QPointF(device.topLeft())) / scale);
    widget->render(&painter, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
  const auto x = static_cast<std::int16_t>(device.x());
  const auto y = static_cast<std::int16_t>(device.y());
  // One request must stay within the server's limit; a status panel is far below it.
  const std::size_t bytes = static_cast<std::size_t>(image.sizeInBytes());
  if (image.isNull() || bytes + 64 > xcb_get_maximum_request_length(connection) * 4u) return;

  const xcb_gcontext_t gc = xcb_generate_id(connection);
  xcb_create_gc(connection, gc, id, 0, nullptr);
  xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, id, gc,
                static_cast<std::uint16_t>(image.width()),
                static_cast<std::uint16_t>(image.height()), x, y, 0, geometry->depth,
                static_cast<std::uint32_t>(bytes), image.constBits());
  xcb_free_gc(connection, gc);
}
#endif

}  // namespace

void ShowNow(QWidget* widget) {
  if (widget == nullptr || !widget->isVisible()) return;
  widget->repaint();
#ifdef LANGXING_HAVE_XCB
  if (xcb_connection_t* connection = XConnection()) PutIntoWindow(connection, widget);
#endif
  FlushToScreen();
}

void FlushToScreen() {
#ifdef LANGXING_HAVE_XCB
  xcb_connection_t* connection = XConnection();
  if (connection == nullptr) return;
  // A round trip: the reply comes only after the server has carried out every earlier request.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
#endif
}

BusyCursor::BusyCursor() {
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  FlushToScreen();
}

BusyCursor::~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
