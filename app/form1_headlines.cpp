// SPDX-License-Identifier: GPL-3.0-or-later
// The hidden headline view WebBrowser1 and the handler that turns its page into List2's entries.
#include <QListWidget>
#include <QStringList>

#include "app/failed_fetch_line.hpp"
#include "app/form1.hpp"
#include "app/headline_titles.hpp"
#include "app/ui_poster.hpp"
#include "headlines/headline_page_feed.hpp"
#include "headlines/headline_run.hpp"

void Form1::CreateHeadlineView(const langxing::NetworkLimits& limits) {
  // Headlines are cut out of the body's markup only, or read from the feed the address or the
  // page names.
  WebBrowser1 = std::make_unique<langxing::PageLoader>(
      MakeUiPoster(this), limits, langxing::BodyParts::kInnerHtml, langxing::HeadlineFeedSources());
  WebBrowser1->DocumentComplete = [this] { WebBrowser1_DocumentComplete(); };
}

void Form1::WebBrowser1_DocumentComplete() {
  if (ending_) return;
  langxing::HeadlineRunHooks hooks;
  hooks.setStatus = [this](std::u16string_view text) { SetPanelText(StatusPanel, text); };
  hooks.titleStartMarker = Text2;
  hooks.started = [this] {
    List2->clear();
    return HeadlinesRequested;
  };
  const langxing::LoadFailure failure = WebBrowser1->LoadFailureKind();
  hooks.show = [this, failure](const langxing::HeadlineEntries& entries) {
    // A page that never came says so where the reader looks, not that there is no news.
    if (ShowFailedFetchLine(List2, entries, failure)) return;
    QStringList items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::u16string& entry : entries) items.append(QString::fromStdU16String(entry));
    List2->addItems(items);
  };
  hooks.showPublished = [this](const langxing::PublishTimes& times) {
    ShowPublishTimes(List2, times);
  };
  // Brings the headline list to the front through the tab strip's own click handling.
  hooks.fetched = [this] { SelectTab(u"新闻标题"); };
  hooks.skipFailedSteps = true;
  langxing::RunHeadlines(
      {[this] { return WebBrowser1->BodyInnerHtml(); }, WebBrowser1->DataText(), failure}, hooks);
}
