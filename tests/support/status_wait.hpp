// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting for the end of a headline run by what the status bar was told: the run is over once
// the status panel's last text is idle or says the load failed. The clock writes its own panel
// every second in between, so only the status panel's texts count.
#pragma once

#include <QtTest/QTest>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.hpp"

namespace langxing::testsupport {

// The last status text of a headline run: idle, or the load failed.
inline bool EndsARun(const std::u16string& status) {
  return status == u"状态：空闲" || status.starts_with(u"状态：获取失败");
}

// Spins the event loop until the last status text in `writes` (panel, text) ends a run; false
// after `timeoutMs`.
inline bool WaitForRunEnd(const std::vector<std::pair<int, std::u16string>>& writes,
                          int timeoutMs = 8000) {
  return QTest::qWaitFor(
      [&writes] {
        for (auto it = writes.rbegin(); it != writes.rend(); ++it)
          if (it->first == Form1::StatusPanel) return EndsARun(it->second);
        return false;
      },
      timeoutMs);
}

}  // namespace langxing::testsupport
