// SPDX-License-Identifier: GPL-3.0-or-later
// The hidden headline view WebBrowser1 and the handler that turns its page into List2's entries.
#include <QListWidget>
#include <QStringList>
#include <exception>

#include "app/form1.hpp"
#include "app/ui_poster.hpp"
#include "core/load_failure_status.hpp"
#include "headlines/headlines.hpp"
#include "headlines/roll_feed.hpp"

namespace {

// Runs one step of a handler that goes on whatever happens: a step that fails is skipped.
template <typename Step>
void SkippingFailure(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

void Form1::CreateHeadlineView(const langxing::NetworkLimits& limits) {
  // Headlines are cut out of the body's markup only.
  WebBrowser1 = std::make_unique<langxing::PageLoader>(MakeUiPoster(this), limits,
                                                       langxing::BodyParts::kInnerHtml);
  WebBrowser1->DocumentComplete = [this] { WebBrowser1_DocumentComplete(); };
}

void Form1::WebBrowser1_DocumentComplete() {
  if (ending_) return;
  SetPanelText(StatusPanel, u"状态：获取》");
  List2->clear();
  if (!HeadlinesRequested) return;

  // A page that cannot be read or cut up gives no rows; the run still ends with the apology.
  // A roll feed's items are its rows, already entries.
  std::vector<std::u16string> rows;
  const std::optional<std::string> feed = WebBrowser1->RollFeedText();
  SkippingFailure([&] {
    rows = feed ? langxing::RollFeedEntries(*feed)
                : langxing::HeadlineRows(WebBrowser1->BodyInnerHtml());
  });
  SetPanelText(StatusPanel, u"状态：获取》》");

  SkippingFailure([&] {
    const std::vector<std::u16string> entries =
        feed ? rows : langxing::HeadlineEntriesOfRows(rows, Text2);
    QStringList items;
    items.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::u16string& entry : entries) items.append(QString::fromStdU16String(entry));
    List2->addItems(items);
  });
  SetPanelText(StatusPanel, u"状态：获取完成");

  // Brings the headline list to the front through the tab strip's own click handling.
  SkippingFailure([&] { SelectTab(u"新闻标题"); });

  if (List2->count() == 0)
    List2->addItem(QString::fromStdU16String(std::u16string(langxing::ApologyLine)));
  // A page that never came is not "no news": the run ends saying so, and why.
  const std::u16string failed = langxing::FailedFetchStatus(WebBrowser1->LoadFailureKind());
  SetPanelText(StatusPanel, failed.empty() ? std::u16string(u"状态：空闲") : failed);
}
