// SPDX-License-Identifier: GPL-3.0-or-later
// White space as a page's visible text shows it: each run of HTML white space and UTF-8 no-break
// spaces is one blank, and the text is trimmed. The element text writer and the scrapers' titles
// and captions share it.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "core/ascii.hpp"

namespace langxing {

// Collapses UTF-8 text given in pieces: white space at the end of one piece and at the start of
// the next is one run, and Break() stands for a run between pieces (an element's edge).
class SpaceCollapser {
 public:
  void Append(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      const bool nbsp = c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0';
      if (ascii::IsSpace(c) || nbsp) {
        pendingSpace_ = true;
        if (nbsp) ++i;
        continue;
      }
      // No blank before the first character, and none is written for a run at the end.
      if (pendingSpace_ && !out_.empty()) out_.push_back(' ');
      pendingSpace_ = false;
      out_.push_back(c);
    }
  }
  void Break() { pendingSpace_ = true; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
  bool pendingSpace_ = false;
};

// The text with each run of white space (no-break spaces included) as one blank, trimmed.
inline std::string CollapsedSpace(std::string_view text) {
  SpaceCollapser collapser;
  collapser.Append(text);
  return collapser.Take();
}

}  // namespace langxing
