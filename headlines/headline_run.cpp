// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/headline_run.hpp"

#include <exception>

#include "core/load_failure_status.hpp"
#include "headlines/roll_feed.hpp"

namespace langxing {

namespace {

void Say(const HeadlineRunHooks& hooks, std::u16string_view status) {
  if (hooks.setStatus) hooks.setStatus(status);
}

// Runs one step; a step that throws is skipped when the hooks ask for it.
template <typename Step>
void RunStep(const HeadlineRunHooks& hooks, Step&& step) {
  if (!hooks.skipFailedSteps) {
    step();
    return;
  }
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

HeadlineEntries RunHeadlines(const LoadedHeadlinePage& page, const HeadlineRunHooks& hooks) {
  Say(hooks, StatusFetchStepOne);
  if (hooks.started && !hooks.started()) return {};

  // A page that cannot be read or cut up gives no rows; the run still ends with the apology.
  // A roll feed's items are its rows, already entries.
  HeadlineEntries rows;
  PublishTimes published;
  RunStep(hooks, [&] {
    if (!page.rollFeed) {
      rows = HeadlineRows(page.readBodyInnerHtml ? page.readBodyInnerHtml() : u"");
      return;
    }
    for (RollFeedEntry& item : RollFeedItems(*page.rollFeed)) {
      rows.push_back(std::move(item.entry));
      published.push_back(item.published);
    }
  });
  Say(hooks, StatusFetchStepTwo);

  HeadlineEntries entries;
  RunStep(hooks, [&] {
    HeadlineEntries cut =
        page.rollFeed ? std::move(rows) : HeadlineEntriesOfRows(rows, hooks.titleStartMarker);
    if (hooks.show) hooks.show(cut);
    if (page.rollFeed && hooks.showPublished) hooks.showPublished(published);
    entries = std::move(cut);
  });
  Say(hooks, StatusFetched);

  if (hooks.fetched) RunStep(hooks, hooks.fetched);

  if (entries.empty()) {
    entries.emplace_back(ApologyLine);
    if (hooks.show) hooks.show(entries);
  }
  if (hooks.listed) hooks.listed(entries);
  // A page that never came is not "no news": the run ends saying so, and why.
  const std::u16string failed = FailedFetchStatus(page.failure);
  Say(hooks, failed.empty() ? StatusIdle : std::u16string_view(failed));
  return entries;
}

}  // namespace langxing
