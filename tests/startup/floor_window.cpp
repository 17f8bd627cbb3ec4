// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for the start-up benchmark: the least a Qt Widgets window with one web view costs.
// A bare window holding one QWebEngineView that loads about:blank; prints the ready line once
// the page has loaded and the window is on screen, then quits.
#include <QApplication>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWidget>

#include "tests/startup/ready_report.hpp"

int main(int argc, char** argv) {
  const double mainStart = startup::BootClockMs();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);

  QWidget window;
  auto* view = new QWebEngineView(&window);
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);
  window.resize(800, 600);

  startup::QuitWhenReady(app, window, *view, mainStart);
  view->load(QUrl(QStringLiteral("about:blank")));
  window.show();
  return app.exec();
}
