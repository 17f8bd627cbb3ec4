// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output.hpp"

#include <string>

#include "core/text.hpp"

namespace langxing::cli {

namespace {

// ESC, BEL, DEL, the C1 controls (CSI, OSC, ... as single characters) and the rest: any of
// them can start a sequence that rewrites the screen, the title or the clipboard.
bool IsTerminalControl(char16_t c) {
  if (c == u'\t' || c == u'\n' || c == u'\r') return false;
  return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

std::u16string WithoutTerminalControls(std::u16string_view text) {
  std::u16string safe(text);
  for (char16_t& c : safe)
    if (IsTerminalControl(c)) c = kReplacement;
  return safe;
}

void WriteItem(std::ostream& out, std::u16string_view item, std::string_view indent) {
  std::u16string flat;
  flat.reserve(item.size());
  for (std::size_t i = 0; i < item.size(); ++i) {
    const char16_t c = item[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < item.size() && item[i + 1] == u'\n') ++i;
      flat.push_back(u' ');
    } else {
      flat.push_back(IsTerminalControl(c) ? kReplacement : c);
    }
  }
  out << indent << Utf16ToUtf8(flat) << '\n';
}

void WriteVerbatim(std::ostream& out, std::u16string_view text) {
  out << Utf16ToUtf8(WithoutTerminalControls(text));
}

}  // namespace langxing::cli
