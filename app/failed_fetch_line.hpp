// SPDX-License-Identifier: GPL-3.0-or-later
// The line the headline list shows for a page that never came, in place of the apology line
// (which says the page came and held no news).
#pragma once

#include <string>
#include <vector>

#include "core/http.hpp"

class QListWidget;

// "获取失败：无法连接" and the like, with the reason the status bar gives; "获取失败" alone when
// it has none. Empty for a page that came (kNone). It holds no ";", so it opens nothing.
std::u16string FailedFetchLine(langxing::LoadFailure kind);

// When `entries` are the apology line alone and the page never came, adds the failure line to
// `list` instead and returns true.
bool ShowFailedFetchLine(QListWidget* list, const std::vector<std::u16string>& entries,
                         langxing::LoadFailure kind);
