// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/failed_fetch_line.hpp"

#include <QListWidget>
#include <string_view>

#include "core/load_failure_status.hpp"
#include "core/status_texts.hpp"
#include "headlines/headlines.hpp"

std::u16string FailedFetchLine(langxing::LoadFailure kind) {
  // The status bar's text, "状态：获取失败（reason）", without its "状态：" and with the reason
  // after a colon.
  const std::u16string status = langxing::FailedFetchStatus(kind);
  if (status.empty()) return {};
  constexpr std::u16string_view StatusPrefix = u"状态：";
  std::u16string line =
      status.starts_with(StatusPrefix) ? status.substr(StatusPrefix.size()) : status;
  if (const std::size_t open = line.find(u'（'); open != std::u16string::npos) {
    const std::size_t close = line.find(u'）', open);
    line = line.substr(0, open) + u"：" + line.substr(open + 1, close - open - 1);
  }
  return line;
}

bool ShowFailedFetchLine(QListWidget* list, const std::vector<std::u16string>& entries,
                         langxing::LoadFailure kind) {
  if (entries.size() != 1 || entries.front() != langxing::ApologyLine) return false;
  const std::u16string line = FailedFetchLine(kind);
  if (line.empty()) return false;
  list->addItem(QString::fromStdU16String(line));
  return true;
}
