// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the start-up benchmark: starts the window exactly as the program does
// (schemes, application, icon, Form1, Form_Load, show) and prints the ready line once the
// article view's blank page has loaded and the window with its catalog is on screen.
// Run it in a folder holding chan.dll, as the program is.
#include <QApplication>
#include <QIcon>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "tests/startup/ready_report.hpp"

int main(int argc, char** argv) {
  const double mainStart = startup::BootClockMs();
  // Without the channel file the window would stop on a message box and never be ready.
  if (!std::filesystem::exists("chan.dll")) {
    std::fprintf(stderr, "startup_probe: run it in a folder holding chan.dll\n");
    return 2;
  }

  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  ArticleView::RegisterSchemes();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("langxing"));

  QIcon icon;
  for (const int size : {16, 24, 32, 48, 256})
    icon.addFile(QStringLiteral(":/icons/langxing-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);

  Form1 window;
  // Connected before Form_Load, which starts the blank page.
  startup::QuitWhenReady(app, window, *window.WebBrowser2, mainStart);
  window.Form_Load();
  window.show();
  const int status = app.exec();
  if (status == 0 && window.TreeView1->topLevelItemCount() == 0) {
    std::fprintf(stderr, "startup_probe: the catalog is empty\n");
    return 1;
  }
  return status;
}
