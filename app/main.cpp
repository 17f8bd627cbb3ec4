// SPDX-License-Identifier: GPL-3.0-or-later
// The program: one window, started with its load handler, then the event loop.
#include <QApplication>
#include <QIcon>

#include "app/article_view.hpp"
#include "app/form1.hpp"

int main(int argc, char** argv) {
  // QtWebEngine shares OpenGL contexts with the widgets; it must be said before the application.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The article view serves written pages through its own URL scheme, which must be known
  // before the application object exists.
  ArticleView::RegisterSchemes();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("langxing"));

  QIcon icon;
  for (const int size : {16, 24, 32, 48, 256})
    icon.addFile(QStringLiteral(":/icons/langxing-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);

  Form1 window;
  window.Form_Load();
  window.show();
  return app.exec();
}
