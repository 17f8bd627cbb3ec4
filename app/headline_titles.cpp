// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headline_titles.hpp"

#include <QAbstractItemModel>
#include <QListWidget>
#include <QStyledItemDelegate>

namespace {

class HeadlineTitleDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QString displayText(const QVariant& value, const QLocale& locale) const override {
    return HeadlineTitleOf(QStyledItemDelegate::displayText(value, locale));
  }
};

}  // namespace

QString HeadlineTitleOf(const QString& entry) {
  const qsizetype end = entry.indexOf(QLatin1Char(';'));
  return end > 0 ? entry.left(end) : entry;
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
