// SPDX-License-Identifier: GPL-3.0-or-later
// Gives a freshly made control the name the window has always known it by, as its objectName,
// so tests, accessibility tools and style sheets find it.
#pragma once

#include <QObject>
#include <QString>

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}
