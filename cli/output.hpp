// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the program's texts to the terminal as UTF-8.
#pragma once

#include <ostream>
#include <string_view>

namespace langxing::cli {

// One item on one line: the text in UTF-8 with each line break inside it (CR LF, CR, LF)
// turned into a space, then LF — so every item stays on its own line.
void WriteItem(std::ostream& out, std::u16string_view item, std::string_view indent = {});

// The text in UTF-8, byte for byte, nothing added.
void WriteVerbatim(std::ostream& out, std::u16string_view text);

}  // namespace langxing::cli
