// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program.hpp"

#include <QApplication>
#include <QIcon>

#include "app/article_view.hpp"
#include "app/form1.hpp"

int RunProgram(int argc, char** argv,
               const std::function<void(QApplication&, Form1&)>& beforeLoad) {
  // QtWebEngine shares OpenGL contexts with the widgets; it must be said before the application.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The article view serves written pages through its own URL scheme, which must be known
  // before the application object exists.
  ArticleView::RegisterSchemes();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("langxing"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.langxing.langxing"));

  // The icons are compiled into each program (app/langxing.qrc).
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/langxing-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);

  Form1 window;
  if (beforeLoad) beforeLoad(app, window);
  window.Form_Load();
  window.show();
  return app.exec();
}
