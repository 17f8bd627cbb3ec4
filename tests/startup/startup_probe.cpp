// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the start-up benchmark: starts the window through the program's own
// start-up (RunProgram) and prints the ready line once the article view's blank page has loaded
// and the window with its catalog is on screen.
// Run it in a folder holding chan.dll, as the program is.
#include <QApplication>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/program.hpp"
#include "tests/startup/ready_report.hpp"
#include "tests/support/window_controls.hpp"

int main(int argc, char** argv) {
  const double mainStart = startup::BootClockMs();
  // Without the channel file the window would stop on a message box and never be ready.
  if (!std::filesystem::exists("chan.dll")) {
    std::fprintf(stderr, "startup_probe: run it in a folder holding chan.dll\n");
    return 2;
  }

  bool catalogEmpty = true;
  const int status = RunProgram(argc, argv, [&](QApplication& app, Form1& window) {
    // Connected before Form_Load, which starts the blank page.
    startup::QuitWhenReady(app, window, *Ctl(window).WebBrowser2, mainStart);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window, &catalogEmpty] {
      catalogEmpty = Ctl(window).TreeView1->topLevelItemCount() == 0;
    });
  });
  if (status == 0 && catalogEmpty) {
    std::fprintf(stderr, "startup_probe: the catalog is empty\n");
    return 1;
  }
  return status;
}
