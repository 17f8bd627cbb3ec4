// SPDX-License-Identifier: GPL-3.0-or-later
// The run over a loaded headline page, as the window's headline list and the companion's
// "headlines" command both make it: the status texts in their order, the page cut into entries
// (a roll feed's items are entries already), the apology line when there are none, and the last
// status, idle or why the page never came.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/http.hpp"
#include "core/status_texts.hpp"
#include "headlines/headlines.hpp"

namespace langxing {

// What the loader left of a headline page.
struct LoadedHeadlinePage {
  // Reads a listing page's body markup; read only when there is no roll feed, as a step that
  // may fail.
  std::function<std::u16string()> readBodyInnerHtml;
  std::optional<std::string> rollFeed{};     // today's roll feed's answer, when the page named it
  LoadFailure failure = LoadFailure::kNone;  // why the page never came
};

using HeadlineEntries = std::vector<std::u16string>;
// When each shown entry was published (Unix seconds), one per entry; none where unknown.
using PublishTimes = std::vector<std::optional<std::int64_t>>;

// The caller's part in a run, each called at its moment; any may be left empty.
struct HeadlineRunHooks {
  StatusWriter setStatus;
  // The start of a headline title in a listing page's rows.
  std::u16string_view titleStartMarker = DefaultTitleStartMarker;
  // After the first status; answering false ends the run there.
  std::function<bool()> started;
  // The entries to list as they are known: those cut from the page before "状态：获取完成";
  // the apology line alone after `fetched` when none were listed.
  std::function<void(const HeadlineEntries&)> show;
  // Right after `show` shows a roll feed's entries: when each of them was published.
  std::function<void(const PublishTimes&)> showPublished;
  // After "状态：获取完成".
  std::function<void()> fetched;
  // Every entry listed, the apology line included, before the last status.
  std::function<void(const HeadlineEntries&)> listed;
  // A step that throws (cutting the page, listing the entries, `fetched`) is skipped and the
  // run goes on, as the window's handlers do; otherwise the exception leaves the run.
  bool skipFailedSteps = false;
};

// Runs over `page`, calling `hooks` in order. Returns every entry listed; none when `started`
// ended the run.
HeadlineEntries RunHeadlines(const LoadedHeadlinePage& page, const HeadlineRunHooks& hooks);

}  // namespace langxing
