// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a headline's article in the article view, and rendering the current article again
// when the font size changes or a page of the portal appears in the view.
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <exception>
#include <utility>

#include "app/article_view.hpp"
#include "app/blocking_feedback.hpp"
#include "app/form1.hpp"
#include "core/text.hpp"
#include "reader/article_address.hpp"

namespace {

// The portal's name; a page title holding it means the view shows one of the portal's pages.
constexpr std::u16string_view PortalName = u"新浪网";

// The reader page's opening while no background colour has been chosen yet (the colour text
// is still "0").
constexpr std::u16string_view UnchosenColourOpening = u"<body style='background-color: 0;";

// The browser engine reads colours written without "#" as hexadecimal (so "C0C0C0" is grey, as
// the swatches intend), and by the same rule reads the start-up colour text "0" as black: the
// article would show black on black until a swatch is pressed. "0" stands for no colour chosen,
// so the page goes into the view without a background colour of its own, on the view's white.
std::u16string WithoutUnchosenColour(std::u16string html) {
  if (html.starts_with(UnchosenColourOpening))
    html.replace(0, UnchosenColourOpening.size(), u"<body style='");
  return html;
}

// A check box's value: 0 clear, 1 ticked, 2 partly ticked.
std::uint8_t CheckValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Unchecked:
      return 0;
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
  }
  return 0;
}

// Opens the current headline when Enter or Return is pressed in the list. The list's own
// "activated" signal is not used for this: it also fires on a double click (and, under some
// desktop styles, on every single click), which would download and render the article a
// second time right after the click had opened it.
class EnterOpensHeadline final : public QObject {
 public:
  EnterOpensHeadline(QListWidget* list, Form1* form) : QObject(list), list_(list), form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != list_ || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (QListWidgetItem* item = list_->currentItem()) form_->List2_Click(item);
    return true;
  }

 private:
  QListWidget* list_;
  Form1* form_;
};

}  // namespace

void Form1::ConnectReaderHandlers() {
  connect(List2, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { List2_Click(item); });
  List2->installEventFilter(new EnterOpensHeadline(List2, this));
  connect(HScroll1, &QScrollBar::valueChanged, this, [this](int) { HScroll1_Change(); });
  WebBrowser2->TitleChange = [this](const std::u16string& title) {
    WebBrowser2_TitleChange(title);
  };
}

void Form1::SetDownloader(langxing::Downloader* downloader) { downloader_ = downloader; }

langxing::Downloader& Form1::ArticleDownloader() {
  if (downloader_ != nullptr) return *downloader_;
  if (!ownDownloader_) ownDownloader_ = std::make_unique<langxing::CurlDownloader>();
  return *ownDownloader_;
}

langxing::ReaderSettings Form1::CurrentReaderSettings() const {
  langxing::ReaderSettings settings;
  settings.showImages = CheckValue(Check1);
  settings.showVideo = CheckValue(Check2);
  settings.backgroundColour = Text1;
  settings.fontSize = static_cast<std::int16_t>(HScroll1->value());
  return settings;
}

void Form1::List2_Click(const QListWidgetItem* item) {
  if (item == nullptr) return;
  // An item that carries no article address -- the apology line a listing without headlines
  // gives, or an entry without a link -- opens nothing: the view keeps what it shows and
  // ArticleUrl keeps the article open so far, so colour and font size changes still apply
  // to it. Loading such an item's text as an address would only ever show the failure page.
  const std::optional<std::u16string> address =
      langxing::ArticleUrlOfItem(item->text().toStdU16String());
  if (!address) return;
  ArticleUrl = *address;
  RenderIntoView();
}

void Form1::HScroll1_Change() { RenderIntoView(); }

void Form1::ReloadArticle() { RenderIntoView(); }

void Form1::WebBrowser2_TitleChange(const std::u16string& title) {
  if (!langxing::Contains(title, PortalName)) return;
  ArticleUrl = WebBrowser2->LocationURL();
  ReloadArticle();
}

// Refreshes the view, renders ArticleUrl (blocking while the page downloads; the status bar
// shows the progress as it goes) and writes the result into the view, with the article's
// address as the base its relative pictures resolve against.
void Form1::RenderIntoView() {
  const BusyCursor busy;  // the window answers nothing until the page is written
  WebBrowser2->Refresh2();
  const std::u16string url = ArticleUrl;
  const langxing::ReaderSettings settings = CurrentReaderSettings();
  // With "显示图像" cleared no picture is fetched at all, whatever markup the article holds.
  WebBrowser2->SetLoadImages(settings.showImages != 0);
  WebBrowser2->SetLoadVideo(settings.showVideo != 0);
  try {
    std::u16string html = langxing::RenderArticle(
        url, settings, ArticleDownloader(),
        [this](std::u16string_view text) { SetPanelText(StatusPanel, text); });
    // The page written can be many times the size of the download; handing it to the view
    // copies it again, so this may run out of memory as well.
    WebBrowser2->WriteDocument(WithoutUnchosenColour(std::move(html)), url);
  } catch (const std::exception&) {
    // Memory ran out on an enormous page: show the failure page rather than end the program.
    SetPanelText(StatusPanel, u"状态：空闲");
    WebBrowser2->WriteDocument(langxing::ArticleFailurePage(url), url);
  }
}
