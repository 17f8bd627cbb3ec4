// SPDX-License-Identifier: GPL-3.0-or-later
// A click on a catalog node: find the channel's line and start loading its headline page.
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>

#include "app/form1.hpp"
#include "catalog/catalog.hpp"
#include "core/status_texts.hpp"

namespace {

// The node's full path: the texts from the root down to the node, joined by "\".
std::u16string FullPathOf(const QTreeWidgetItem* node) {
  std::vector<const QTreeWidgetItem*> chain;
  for (const QTreeWidgetItem* n = node; n != nullptr; n = n->parent()) chain.push_back(n);
  std::u16string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin()) path += langxing::CatalogPathSeparator;
    path += (*it)->text(0).toStdU16String();
  }
  return path;
}

}  // namespace

void Form1::ConnectCatalogHandlers() {
  connect(TreeView1, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item, int) { OnTreeItemClicked(item); });
  connect(TreeView1, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { OnTreeItemActivated(item); });
  auto* reload = new QShortcut(QKeySequence(Qt::Key_F5), this);
  reload->setContext(Qt::WindowShortcut);
  connect(reload, &QShortcut::activated, this, &Form1::ReloadChannel);
}

void Form1::OnTreeItemClicked(QTreeWidgetItem* item) {
  // Styles that activate items on a single click raise both signals for one click, in the
  // same mouse event; remember the item until that event is over so it is handled once.
  clickedInThisEvent_ = item;
  QTimer::singleShot(0, this, [this] { clickedInThisEvent_ = nullptr; });
  TreeView1_NodeClick();
}

void Form1::OnTreeItemActivated(QTreeWidgetItem* item) {
  if (item != nullptr && item == clickedInThisEvent_) return;
  // Enter opens the current node; make sure it is the selected one the handler works on.
  if (item != nullptr && TreeView1->currentItem() != item) TreeView1->setCurrentItem(item);
  TreeView1_NodeClick();
}

void Form1::TreeView1_NodeClick() {
  if (ending_) return;
  SetPanelText(StatusPanel, langxing::StatusFetching);

  const QTreeWidgetItem* node = TreeView1->currentItem();
  if (node == nullptr || node->childCount() > 0) return;
  OpenChannel(FullPathOf(node));
}

void Form1::ReloadChannel() {
  if (ending_ || openChannel_.empty()) return;
  SetPanelText(StatusPanel, langxing::StatusFetching);
  OpenChannel(openChannel_);
}

void Form1::OpenChannel(const std::u16string& path) {
  // A category without channels has no third piece in its path: there is nothing to load.
  const std::optional<std::u16string> channelText = langxing::ChannelTextOfPath(path);
  if (!channelText) return;

  const std::optional<std::size_t> line = langxing::FindChannelLine(List1, *channelText);
  if (!line) return;

  HeadlinesRequested = true;
  WebBrowser1->Navigate(langxing::ChannelUrlOf(List1[*line]));
  if (openChannel_ != path) {
    openChannel_ = path;
    KeepSettingsSoon();
  }
}
