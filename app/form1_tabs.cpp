// SPDX-License-Identifier: GPL-3.0-or-later
// The tab strip that chooses the left pane's view, and the tree and list font size (HScroll2).
#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QListWidget>
#include <QScrollBar>
#include <QShortcut>
#include <QTreeWidget>

#include "app/form1.hpp"
#include "app/settings_pane.hpp"
#include "app/tab_strip.hpp"

namespace {
constexpr std::u16string_view HeadlinesTab = u"新闻标题";
constexpr std::u16string_view CatalogTab = u"新闻目录";
constexpr std::u16string_view SettingsTab = u"设置";
}  // namespace

std::u16string Form1::SelectedTabCaption() const {
  const int index = TabStrip1->currentIndex();
  return index < 0 ? std::u16string() : TabStrip1->tabText(index).toStdU16String();
}

namespace {

// The first widget of `view` (itself included) that takes the focus by Tab, or nullptr.
QWidget* FirstFocusable(QWidget* view) {
  QWidget* w = view;
  do {
    if (w->isVisibleTo(view->window()) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
        (w == view || view->isAncestorOf(w)))
      return w;
    w = w->nextInFocusChain();
  } while (w != view);
  return nullptr;
}

}  // namespace

void Form1::TabStrip1_Click() {
  // A view that is hidden while it holds the focus passes the focus along the chain, where it
  // may land in the article view, which then scrolls to the link at the end of the article.
  // The focus moves to the tab bar before any view is hidden; unless the user is on the tab bar
  // itself (stepping through the tabs with the arrow keys), the view shown then takes it over.
  QWidget* tabBar = TabStrip1->Bar();
  const bool keepOnTabBar = QApplication::focusWidget() == tabBar;
  const std::initializer_list<QWidget*> views = {TreeView1, List2, Frame3};
  for (QWidget* view : views)
    if (QWidget* focused = QApplication::focusWidget();
        focused != nullptr && (focused == view || view->isAncestorOf(focused)))
      tabBar->setFocus(Qt::OtherFocusReason);

  // Each test reads the caption afresh; the view is chosen by caption, not by tab number.
  if (SelectedTabCaption() == HeadlinesTab) {
    TreeView1->setVisible(false);
    List2->setVisible(true);
    Frame3->setVisible(false);
  }
  if (SelectedTabCaption() == CatalogTab) {
    TreeView1->setVisible(true);
    List2->setVisible(false);
    Frame3->setVisible(false);
  }
  if (SelectedTabCaption() == SettingsTab) {
    Frame3->setVisible(true);
    TreeView1->setVisible(false);
    List2->setVisible(false);
  }

  if (keepOnTabBar) return;
  for (QWidget* view : views)
    if (!view->isHidden())
      if (QWidget* target = FirstFocusable(view)) target->setFocus(Qt::OtherFocusReason);
}

void Form1::ConnectTabKeys() {
  // Ctrl+Tab and Ctrl+PgDn step to the next tab, Ctrl+Shift+Tab and Ctrl+PgUp to the one
  // before, round the ends; the selection change runs TabStrip1_Click as a click does.
  const auto step = [this](int by) {
    const int count = TabStrip1->count();
    if (count == 0) return;
    TabStrip1->setCurrentIndex((TabStrip1->currentIndex() + by + count) % count);
  };
  const std::pair<QKeySequence, int> keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
      {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
      {QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1},
      {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
  };
  for (const auto& [key, by] : keys) {
    auto* shortcut = new QShortcut(key, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [step, by = by] { step(by); });
  }
}

bool Form1::SelectTab(std::u16string_view caption) {
  const QString wanted = QString::fromStdU16String(std::u16string(caption));
  for (int i = 0; i < TabStrip1->count(); ++i) {
    if (TabStrip1->tabText(i) != wanted) continue;
    TabStrip1->setCurrentIndex(i);  // runs TabStrip1_Click when the selection changes
    return true;
  }
  return false;
}

void Form1::HScroll2_Change() {
  // Only the size changes; face, weight and style stay.
  QFont treeFont = TreeView1->font();
  treeFont.setPointSize(Frame3->ListFontSize());
  TreeView1->setFont(treeFont);
  QFont listFont = List2->font();
  listFont.setPointSize(Frame3->ListFontSize());
  List2->setFont(listFont);
}
