// SPDX-License-Identifier: GPL-3.0-or-later
// List2 shows each headline entry ("title;link") by its title. The item's text stays the whole
// entry, which opening a headline reads; the entry is the item's tooltip and accessible
// description, and the title its accessible name.
#pragma once

#include <QString>

class QListWidget;

// The text before the entry's first ";"; the whole entry when it has none or nothing stands
// before it (the apology line, a line without a title).
QString HeadlineTitleOf(const QString& entry);

// Draws `list`'s items by their titles from now on, and gives every item added its tooltip and
// accessible texts.
void ShowHeadlineTitles(QListWidget* list);
