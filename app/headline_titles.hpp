// SPDX-License-Identifier: GPL-3.0-or-later
// List2 shows each headline entry ("title;link") by its title. The item's text stays the whole
// entry, which opening a headline reads; the entry is the item's tooltip and accessible
// description, and the title its accessible name. A headline of a roll feed shows the time it
// was published before its title; the item's text stays the entry all the same.
#pragma once

#include <QtCore/qnamespace.h>

#include <QString>

#include "headlines/headline_run.hpp"

class QListWidget;
class QModelIndex;

// The text before the entry's first ";"; the whole entry when it has none or nothing stands
// before it (the apology line, a line without a title).
QString HeadlineTitleOf(const QString& entry);

// Draws `list`'s items by their titles from now on, and gives every item added its tooltip and
// accessible texts.
void ShowHeadlineTitles(QListWidget* list);

// Gives the last `times.size()` items of `list` (the entries just shown, in order) the time each
// was published, shown before its title: "HH:MM" today, "MM-DD HH:MM" before, local time.
void ShowPublishTimes(QListWidget* list, const langxing::PublishTimes& times);

// The item data role that holds an item's publishing time as shown; empty when it has none.
inline constexpr int PublishedLabelRole = Qt::UserRole + 1;

// What the list shows for the item at `index`: its title, after its publishing time if any.
QString HeadlineShownText(const QModelIndex& index);
