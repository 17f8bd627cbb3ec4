// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a node of the catalog tree by the texts on the way to it from the root.
#pragma once

#include <QString>
#include <QTreeWidget>
#include <initializer_list>

namespace langxing::testsupport {

// The node at a path of texts from the root ("朗星快报", "新闻中心", "国内新闻"), with every node
// above it expanded so it is in view; nullptr if there is none.
inline QTreeWidgetItem* NodeAtPath(QTreeWidget* tree, std::initializer_list<const char*> path) {
  QTreeWidgetItem* item = nullptr;
  for (const char* text : path) {
    const QString wanted = QString::fromUtf8(text);
    QTreeWidgetItem* next = nullptr;
    const int count = item ? item->childCount() : tree->topLevelItemCount();
    for (int i = 0; i < count && next == nullptr; ++i) {
      QTreeWidgetItem* candidate = item ? item->child(i) : tree->topLevelItem(i);
      if (candidate->text(0) == wanted) next = candidate;
    }
    if (next == nullptr) return nullptr;
    if (item) item->setExpanded(true);
    item = next;
  }
  return item;
}

}  // namespace langxing::testsupport
