// SPDX-License-Identifier: GPL-3.0-or-later
// How the window answers while an article downloads: the longest lateness of a 20 ms timer
// during a slow download, and how many downloads quick font-size steps cost.
#pragma once

#include <string>

namespace windowbench {

// A headline click on an article the portal answers after `delayMs`, until the article is
// painted: the longest lateness of a 20 ms timer meanwhile, against the same timer in the idle
// window for as long.
int SlowArticleRow(int argc, char** argv, const std::string& row, int delayMs, int reps);

// Three steps of the font-size bar's arrow key within 300 ms on an open article: how many times
// the article is downloaded, against the one download the last value needs.
int FontStepsRow(int argc, char** argv, const std::string& row, int reps);

}  // namespace windowbench
