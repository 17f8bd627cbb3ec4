// SPDX-License-Identifier: GPL-3.0-or-later
// The real window for the benchmarks: started through the program's own start-up with a channel
// file of the benchmark's channels, both networks (libcurl and the web engine) sent through the
// local portal, and driven with the mouse as a reader drives it.
#pragma once

#include <QApplication>
#include <QListWidgetItem>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.hpp"
#include "bench/window/view_watch.hpp"
#include "tests/support/window_controls.hpp"

namespace windowbench {

// Sends libcurl (http_proxy and friends) and the web engine (the application proxy) through the
// portal at 127.0.0.1:port. Call before the application is created.
void UseProxy(int port);

// Creates the application and the window through RunProgram with a channel file holding
// `channelLines` ("category_name--address"), then runs `body` in the event loop once the window
// is on screen with its blank article page loaded; returns body's status.
int RunWindow(int argc, char** argv, const std::vector<std::string>& channelLines,
              const std::function<int(QApplication&, Form1&)>& body);

// One status panel write, with the time it was made (after the panel was painted).
struct StatusWrite {
  std::u16string text;
  double ms;
};

class WindowDriver {
 public:
  explicit WindowDriver(Form1& form);
  ~WindowDriver();

  // Clicks the channel node 新闻中心 > `channel` and waits for the list run to end
  // ("状态：空闲"); returns the time of that write, or -1 after the timeout. The time of the
  // click itself goes to clickedMs.
  double ClickChannel(const char* channel, int timeoutMs = 60000);
  // The List2 row whose entry leads to `address`, or nullptr.
  QListWidgetItem* RowFor(const std::string& address) const;
  // Clicks the row; returns when the click has returned (the article downloads on; it has been
  // written at renderEndedMs).
  void ClickRow(QListWidgetItem* item);
  // Presses (and afterwards releases) a colour swatch with the mouse.
  void PressSwatch(const char* name);
  void ReleaseSwatch(const char* name);
  // Waits for the render in flight (if any) to end, then for the page written last to load in
  // WebBrowser2 and its first paint.
  bool WaitForWrittenPage(int timeoutMs = 60000);

  Form1& form;
  const WindowControls controls;  // looked up once, outside the timed steps
  Waiter waiter;
  ViewWatch articleWatch;
  std::vector<StatusWrite> statusWrites;  // since the last ClickChannel / ClearWrites
  double clickedMs = -1;
  double renderEndedMs = -1;  // when the window last wrote a rendered page (or gave one up)
  void ClearWrites() { statusWrites.clear(); }
};

}  // namespace windowbench
