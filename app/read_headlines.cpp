// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/read_headlines.hpp"

#include <QAbstractItemModel>
#include <QListWidget>

#include "reader/article_address.hpp"

namespace {

// Between the list's text and its background, nearer the text, so a read headline stays
// readable (black on white gives #666666, 5.7:1).
QColor MutedText(const QPalette& palette) {
  const QColor text = palette.color(QPalette::Text);
  const QColor base = palette.color(QPalette::Base);
  const auto mix = [](int t, int b) { return (3 * t + 2 * b) / 5; };
  return QColor(mix(text.red(), base.red()), mix(text.green(), base.green()),
                mix(text.blue(), base.blue()));
}

QString AddressOf(const QListWidgetItem& item) {
  const std::optional<std::u16string> address =
      langxing::ArticleUrlOfItem(item.text().toStdU16String());
  return address ? QString::fromStdU16String(*address) : QString();
}

}  // namespace

ReadHeadlines::ReadHeadlines(QListWidget* list) : QObject(list), list_(list) {
  connect(list->model(), &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int last) {
            // Nothing opened yet: the rows of a long listing are not read twice.
            if (read_.isEmpty()) return;
            for (int row = first; row <= last; ++row) MuteIfRead(list_->item(row));
          });
}

void ReadHeadlines::MarkRead(const std::u16string& address) {
  const QString key = QString::fromStdU16String(address);
  if (key.isEmpty() || read_.contains(key)) return;
  read_.insert(key);
  for (int row = 0; row < list_->count(); ++row) MuteIfRead(list_->item(row));
}

bool ReadHeadlines::IsRead(const QListWidgetItem& item) const {
  return read_.contains(AddressOf(item));
}

void ReadHeadlines::MuteIfRead(QListWidgetItem* item) const {
  if (item == nullptr || !IsRead(*item)) return;
  item->setForeground(MutedText(list_->palette()));
}
