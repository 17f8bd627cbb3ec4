// SPDX-License-Identifier: GPL-3.0-or-later
// The headlines opened in this session, by their article's address: the list draws them in a
// muted colour, also when a channel's list is loaded again. Nothing of it is kept after the run.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <string>

class QListWidget;
class QListWidgetItem;

class ReadHeadlines final : public QObject {
 public:
  // Watches the items added to `list` from now on; a child of the list.
  explicit ReadHeadlines(QListWidget* list);

  // The article at `address` was opened: every item of the list that opens it is muted.
  void MarkRead(const std::u16string& address);
  bool IsRead(const QListWidgetItem& item) const;

 private:
  void MuteIfRead(QListWidgetItem* item) const;
  QListWidget* list_;
  QSet<QString> read_;
};
