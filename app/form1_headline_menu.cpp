// SPDX-License-Identifier: GPL-3.0-or-later
// What the headline list offers beside a click: a context menu on a headline (open it, open it
// in the desktop's browser, copy its address), read headlines drawn muted for the rest of the
// session, and a ring that shows which pane has the focus.
#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>
#include <QTreeWidget>

#include "app/address_opener.hpp"
#include "app/article_view.hpp"
#include "app/focus_ring.hpp"
#include "app/form1.hpp"
#include "app/read_headlines.hpp"
#include "app/tab_strip.hpp"
#include "reader/article_address.hpp"

void Form1::ConnectHeadlineMenu() {
  readHeadlines_ = new ReadHeadlines(List2);
  List2->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(List2, &QListWidget::customContextMenuRequested, this, &Form1::ShowHeadlineMenu);
  focusRing_ = new FocusRing(this, {TabStrip1->Bar(), TreeView1, List2, WebBrowser2});
}

void Form1::ShowHeadlineMenu(const QPoint& at) {
  // The menu key asks at the current item: the list gives its rectangle as the place.
  QListWidgetItem* item = List2->itemAt(at);
  if (item == nullptr || ending_) return;
  const std::optional<std::u16string> address =
      langxing::ArticleUrlOfItem(item->text().toStdU16String());

  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("HeadlineMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose, true);
  QAction* open = menu->addAction(QStringLiteral("打开"));
  QAction* inBrowser = menu->addAction(QStringLiteral("在浏览器中打开"));
  QAction* copy = menu->addAction(QStringLiteral("复制链接"));
  // The apology and failure lines open nothing; the browser gets only what it may open.
  open->setEnabled(address.has_value());
  inBrowser->setEnabled(address && OpenableUrlOf(*address).isValid());
  copy->setEnabled(address.has_value());
  if (address) {
    // The list may have been filled anew while the menu was open: the headline is looked up
    // again at its row, and opened only when it is still there.
    connect(open, &QAction::triggered, this, [this, row = List2->row(item), entry = item->text()] {
      QListWidgetItem* now = List2->item(row);
      if (now == nullptr || now->text() != entry) return;
      List2->setCurrentItem(now);
      List2_Click(now);
    });
    connect(inBrowser, &QAction::triggered, this, [this, url = *address] { Opener().Open(url); });
    connect(copy, &QAction::triggered, this, [url = *address] {
      QGuiApplication::clipboard()->setText(QString::fromStdU16String(url));
    });
  }
  menu->popup(List2->viewport()->mapToGlobal(at));
}
