// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headline_titles.hpp"

#include <QAbstractItemModel>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <ctime>

#include "headlines/publish_time.hpp"

namespace {

class HeadlineTitleDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QString displayText(const QVariant& value, const QLocale& locale) const override {
    return HeadlineTitleOf(QStyledItemDelegate::displayText(value, locale));
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->features.testFlag(QStyleOptionViewItem::HasDisplay))
      option->text = HeadlineShownText(index);
  }
};

}  // namespace

QString HeadlineTitleOf(const QString& entry) {
  const qsizetype end = entry.indexOf(QLatin1Char(';'));
  return end > 0 ? entry.left(end) : entry;
}

QString HeadlineShownText(const QModelIndex& index) {
  const QString title = HeadlineTitleOf(index.data(Qt::DisplayRole).toString());
  const QString published = index.data(PublishedLabelRole).toString();
  return published.isEmpty() ? title : published + QLatin1Char(' ') + title;
}

void ShowHeadlineTitles(QListWidget* list) {
  list->setItemDelegate(new HeadlineTitleDelegate(list));
  QAbstractItemModel* model = list->model();
  QObject::connect(model, &QAbstractItemModel::rowsInserted, list,
                   [list](const QModelIndex&, int first, int last) {
                     for (int row = first; row <= last; ++row) {
                       QListWidgetItem* item = list->item(row);
                       if (item == nullptr) continue;
                       const QString entry = item->text();
                       item->setToolTip(entry);
                       item->setData(Qt::AccessibleTextRole, HeadlineTitleOf(entry));
                       item->setData(Qt::AccessibleDescriptionRole, entry);
                     }
                   });
}

void ShowPublishTimes(QListWidget* list, const langxing::PublishTimes& times) {
  const std::int64_t now = std::time(nullptr);
  const int first = list->count() - static_cast<int>(times.size());
  for (std::size_t i = 0; i < times.size(); ++i) {
    QListWidgetItem* item = list->item(first + static_cast<int>(i));
    if (item == nullptr || !times[i]) continue;
    item->setData(PublishedLabelRole,
                  QString::fromStdU16String(langxing::PublishedLabel(*times[i], now)));
  }
}
