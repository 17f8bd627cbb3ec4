// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/output.hpp"

#include <string>

#include "core/text.hpp"

namespace langxing::cli {

void WriteItem(std::ostream& out, std::u16string_view item, std::string_view indent) {
  std::u16string flat;
  flat.reserve(item.size());
  for (std::size_t i = 0; i < item.size(); ++i) {
    const char16_t c = item[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < item.size() && item[i + 1] == u'\n') ++i;
      flat.push_back(u' ');
    } else {
      flat.push_back(c);
    }
  }
  out << indent << Utf16ToUtf8(flat) << '\n';
}

void WriteVerbatim(std::ostream& out, std::u16string_view text) { out << Utf16ToUtf8(text); }

}  // namespace langxing::cli
