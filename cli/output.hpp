// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the program's texts to the terminal as UTF-8. Every text passes through here, and
// none can steer the terminal: each control character a page may carry (C0 other than TAB, LF
// and CR; DEL; C1, U+0080 to U+009F) is written as U+FFFD, whether the page held it as a byte
// or as a character reference.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace langxing::cli {

// One item on one line: the text in UTF-8 with each line break inside it (CR LF, CR, LF)
// turned into a space, then LF — so every item stays on its own line.
void WriteItem(std::ostream& out, std::u16string_view item, std::string_view indent = {});

// The text in UTF-8, byte for byte but for the control characters above, nothing added.
void WriteVerbatim(std::ostream& out, std::u16string_view text);

// The text with each control character a terminal could act on replaced by U+FFFD.
std::u16string WithoutTerminalControls(std::u16string_view text);

}  // namespace langxing::cli
