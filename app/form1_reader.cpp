// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a headline's article in the article view, and rendering the current article again
// when the font size changes or a page of the portal appears in the view. The download runs on
// the window's render worker; its status texts and its page are handed back to the window's
// thread, and only the newest render's reach the window.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <exception>
#include <utility>

#include "app/article_view.hpp"
#include "app/form1.hpp"
#include "app/read_headlines.hpp"
#include "app/settings_pane.hpp"
#include "app/ui_poster.hpp"
#include "core/status_texts.hpp"
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
std::uint8_t CheckValue(Qt::CheckState state) {
  switch (state) {
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
  renderPoster_ = MakeUiPoster(this);
  fontSizeSettle_ = new QTimer(this);
  fontSizeSettle_->setSingleShot(true);
  fontSizeSettle_->setInterval(FontSizeSettleMs);
  connect(fontSizeSettle_, &QTimer::timeout, this, [this] { RenderIntoView(); });

  connect(List2, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { List2_Click(item); });
  List2->installEventFilter(new EnterOpensHeadline(List2, this));
  connect(Frame3, &SettingsPane::ArticleFontSizeChanged, this, &Form1::HScroll1_Change);
  WebBrowser2->TitleChange = [this](const std::u16string& title) {
    WebBrowser2_TitleChange(title);
  };
  // The failure page's 重试 link.
  WebBrowser2->RetryRequested = [this] { ReloadArticle(); };
  // Escape anywhere in the window gives a render up; while none runs the key goes on to the
  // control that has the focus.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  escape->setEnabled(false);
  connect(escape, &QShortcut::activated, this, [this] { CancelRender(); });
  connect(this, &Form1::RenderEnded, escape, [escape] { escape->setEnabled(false); });
  escapeShortcut_ = escape;
}

void Form1::SetDownloader(langxing::Downloader* downloader) {
  if (downloader == downloader_) return;
  if (RenderInFlight()) EndRender();
  renderWorker_.CancelAndWait();
  downloader_ = downloader;
}

langxing::ReaderSettings Form1::CurrentReaderSettings() const {
  langxing::ReaderSettings settings;
  settings.showImages = CheckValue(Frame3->ImagesState());
  settings.showVideo = CheckValue(Frame3->VideoState());
  settings.backgroundColour = Text1;
  settings.fontSize = static_cast<std::int16_t>(Frame3->ArticleFontSize());
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
  readHeadlines_->MarkRead(*address);
  RenderIntoView();
}

void Form1::HScroll1_Change() {
  // The arrows, the keys and the wheel step one point at a time: a render per step would be a
  // download per step, each superseding the last. The render starts once the value rests; a
  // render in flight is given up now, as its page is at a size no longer wanted.
  GiveUpRender();
  SetBusy(true);
  fontSizeSettle_->start();
  escapeShortcut_->setEnabled(true);
}

void Form1::ReloadArticle() { RenderIntoView(); }

void Form1::WebBrowser2_TitleChange(const std::u16string& title) {
  if (!langxing::Contains(title, PortalName)) return;
  ArticleUrl = WebBrowser2->LocationURL();
  ReloadArticle();
}

bool Form1::RenderInFlight() const { return renderRunning_ || fontSizeSettle_->isActive(); }

bool Form1::IsCurrentRender(std::uint64_t generation) const {
  return renderRunning_ && generation == renderGeneration_;
}

void Form1::SetBusy(bool busy) {
  // The busy pointer (an arrow with a wait sign: the window still answers) over the window.
  if (busy == busyPointer_) return;
  busyPointer_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::BusyCursor);
  else
    QApplication::restoreOverrideCursor();
}

// Supersedes whatever render was in flight: its download is aborted, and what it posts is
// dropped (its generation is no longer the current one).
void Form1::GiveUpRender() {
  fontSizeSettle_->stop();
  ++renderGeneration_;
  renderWorker_.CancelAll();
  renderRunning_ = false;
}

void Form1::EndRender() {
  GiveUpRender();
  SetBusy(false);
  emit RenderEnded();
}

void Form1::CancelRender() {
  if (!RenderInFlight()) return;
  EndRender();
  SetPanelText(StatusPanel, langxing::StatusIdle);
}

void Form1::EndRendersWithTheWindow() {
  if (RenderInFlight()) EndRender();
  SetBusy(false);
  // No render outlives the window: cancelled, a transfer ends within moments and a parse under
  // way within its bound, and the worker is joined before the window's parts go.
  renderWorker_.Stop();
}

void Form1::closeEvent(QCloseEvent* event) {
  // The window closes at once; the download in flight is aborted, not waited for.
  if (RenderInFlight()) EndRender();
  KeepSettingsAtClose();
  QWidget::closeEvent(event);
}

// Starts the render of ArticleUrl on a worker thread. The status texts it writes, then the
// view's refresh and the page's write follow on this thread, in that order, unless a newer
// render or Escape has superseded it by then.
void Form1::RenderIntoView() {
  GiveUpRender();
  const std::uint64_t generation = renderGeneration_;
  renderRunning_ = true;
  SetBusy(true);
  escapeShortcut_->setEnabled(true);

  const std::u16string url = ArticleUrl;
  const langxing::ReaderSettings settings = CurrentReaderSettings();
  // With "显示图像" cleared no picture is fetched at all, whatever markup the article holds.
  WebBrowser2->SetLoadImages(settings.showImages != 0);
  WebBrowser2->SetLoadVideo(settings.showVideo != 0);

  std::shared_ptr<langxing::Downloader> downloader;
  if (downloader_ != nullptr)
    downloader = std::shared_ptr<langxing::Downloader>(downloader_, [](langxing::Downloader*) {});
  else
    downloader = std::make_shared<langxing::CurlDownloader>();

  const auto post = renderPoster_;
  renderWorker_.Post(
      [this, generation, url, settings, downloader, post](const std::atomic<bool>& cancel) {
        // Every task posted runs on the window's thread, and only while the window lives.
        const auto onWindow = [&](std::function<void()> task) {
          post([this, generation, task = std::move(task)] {
            if (IsCurrentRender(generation)) task();
          });
        };
        try {
          auto html = std::make_shared<std::u16string>(langxing::RenderArticle(
              url, settings, *downloader,
              [&](std::u16string_view text) {
                onWindow([this, text = std::u16string(text)] { SetPanelText(StatusPanel, text); });
              },
              &cancel));
          onWindow([this, generation, html, url] { WriteRender(generation, *html, url); });
        } catch (const std::exception&) {
          // Memory ran out on an enormous page: show the failure page rather than end the program.
          onWindow([this, generation, url, settings] {
            SetPanelText(StatusPanel, langxing::StatusIdle);
            WriteRender(generation, langxing::ArticleFailurePage(url, settings), url);
          });
        }
      });
}

void Form1::WriteRender(std::uint64_t generation, const std::u16string& html,
                        const std::u16string& url) {
  if (!IsCurrentRender(generation)) return;
  EndRender();
  // Refreshed right before the write, as the blocking render did in one go: a reload left to
  // run through the download fetched the old page and its pictures again, and could keep the
  // view from showing the page written after it.
  WebBrowser2->Refresh2();
  try {
    // The page written can be many times the size of the download; handing it to the view
    // copies it again, so this may run out of memory as well.
    WebBrowser2->WriteDocument(WithoutUnchosenColour(html), url);
  } catch (const std::exception&) {
    SetPanelText(StatusPanel, langxing::StatusIdle);
    WebBrowser2->WriteDocument(
        WithoutUnchosenColour(langxing::ArticleFailurePage(url, CurrentReaderSettings())), url);
  }
}
