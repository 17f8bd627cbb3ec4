// SPDX-License-Identifier: GPL-3.0-or-later
// The reader's settings kept between runs: read at start, after the design layout and before
// the window is first shown, so that the first render uses them; written a moment after any of
// them changes, and when the window closes.
#include <QGuiApplication>
#include <QMoveEvent>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include "app/form1.hpp"
#include "app/picture_box.hpp"
#include "app/reader_settings_store.hpp"
#include "app/settings_pane.hpp"
#include "app/splitter.hpp"
#include "catalog/catalog.hpp"

namespace {

// The place the window has settled in when it is first shown: the window manager has placed
// and framed it by then. Changes before that are the window manager's, not the reader's.
constexpr int SettleMs = 1000;

}  // namespace

void Form1::SetSettingsStore(ReaderSettingsStore* store) { settingsStore_ = store; }

void Form1::ConnectSettingsKeeping() {
  keepSettings_ = new QTimer(this);
  keepSettings_->setSingleShot(true);
  keepSettings_->setInterval(KeepSettingsDelayMs);
  connect(keepSettings_, &QTimer::timeout, this, &Form1::KeepSettingsNow);
  const auto soon = [this] { KeepSettingsSoon(); };
  connect(Frame3, &SettingsPane::OptionsChanged, this, soon);
  connect(Frame3, &SettingsPane::ArticleFontSizeChanged, this, soon);
  connect(Frame3, &SettingsPane::ListFontSizeChanged, this, soon);
  // After the splitter's and the swatches' own handlers, which these are connected after.
  connect(Picture2, &PictureBox::MouseUp, this, soon);
  for (PictureBox* swatch : Frame3->findChildren<PictureBox*>())
    connect(swatch, &PictureBox::MouseDown, this, soon);
}

void Form1::KeepSettingsSoon() {
  if (settingsStore_ != nullptr && !ending_) keepSettings_->start();
}

KeptSettings Form1::SettingsNow() const {
  KeptSettings now;
  now.colour = QString::fromStdU16String(Text1);
  now.articleFontSize = Frame3->ArticleFontSize();
  now.listFontSize = Frame3->ListFontSize();
  now.showImages = Frame3->ImagesState() != Qt::Unchecked;
  now.showVideo = Frame3->VideoState() != Qt::Unchecked;
  now.splitterLeft = panes_.Picture2.left;
  now.channel = QString::fromStdU16String(openChannel_);
  if (watchPlace_) {
    now.windowPlace = normalGeometry();
    now.maximised = isMaximized();
  } else if (restored_) {
    // Not settled yet: what was read stays as it was.
    now.windowPlace = restored_->windowPlace;
    now.maximised = restored_->maximised;
  }
  return now;
}

void Form1::KeepSettingsNow() {
  keepSettings_->stop();
  if (settingsStore_ == nullptr) return;
  settingsStore_->Save(SettingsNow());
}

void Form1::KeepSettingsAtClose() {
  // Where the window is now is where the reader left it, settled or not.
  if (isVisible()) {
    watchPlace_ = true;
    restored_.reset();
  }
  KeepSettingsNow();
}

void Form1::RestoreKeptSettings() {
  if (settingsStore_ == nullptr) return;
  restored_ = std::make_unique<KeptSettings>(settingsStore_->Load());
  const KeptSettings& kept = *restored_;
  Text1 = kept.colour.toStdU16String();
  Frame3->SetImagesAndVideo(kept.showImages, kept.showVideo);
  Frame3->SetFontSizes(kept.articleFontSize, kept.listFontSize);
  HScroll2_Change();
  if (!kept.channel.isEmpty()) SelectChannelNode(kept.channel.toStdU16String());
}

// Selects the channel's node, its category opened, without loading it: F5 or a click does.
void Form1::SelectChannelNode(const std::u16string& path) {
  const QString wanted = QString::fromStdU16String(path);
  const QStringList names =
      wanted.split(QString::fromStdU16String(std::u16string(langxing::CatalogPathSeparator)));
  QTreeWidgetItem* node = TreeView1->topLevelItem(0);
  if (node == nullptr || names.isEmpty() || node->text(0) != names.front()) return;
  for (qsizetype i = 1; i < names.size() && node != nullptr; ++i) {
    QTreeWidgetItem* next = nullptr;
    for (int c = 0; c < node->childCount() && next == nullptr; ++c)
      if (node->child(c)->text(0) == names[i]) next = node->child(c);
    node = next;
  }
  if (node == nullptr || node->childCount() > 0) return;
  for (QTreeWidgetItem* up = node->parent(); up != nullptr; up = up->parent())
    up->setExpanded(true);
  TreeView1->setCurrentItem(node);
  TreeView1->scrollToItem(node);
  openChannel_ = path;
}

// The kept place, size, maximised state and splitter, once the window's least size is known.
void Form1::RestoreWindowPlace() {
  const auto settle = [this] {
    QTimer::singleShot(SettleMs, this, [this] {
      watchPlace_ = true;
      restored_.reset();
    });
  };
  if (!restored_) {
    settle();
    return;
  }
  const KeptSettings& kept = *restored_;
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens())
    screens.append(screen->availableGeometry());
  if (kept.windowPlace) {
    if (const std::optional<UsablePlace> usable =
            UsableWindowPlace(*kept.windowPlace, screens, minimumSize())) {
      resize(usable->size);
      if (usable->topLeft)
        setGeometry(QRect(*usable->topLeft, usable->size));
      else
        CentreOnScreen();
    }
  }
  Form_Resize();
  if (kept.splitterLeft) {
    panes_.Picture2.left = *kept.splitterLeft;
    panes_ = langxing::SplitterRelease(panes_, ClientWidthTwips());
    ApplyPanes();
  }
  if (kept.maximised) setWindowState(windowState() | Qt::WindowMaximized);
  settle();
}

void Form1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (watchPlace_) KeepSettingsSoon();
}
