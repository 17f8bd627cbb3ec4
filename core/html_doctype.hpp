// SPDX-License-Identifier: GPL-3.0-or-later
// The document mode a page's doctype sets.
#pragma once

#include <string_view>

namespace langxing::html {

// How the HTML standard's doctype rules set the document's mode; only full quirks mode
// changes the tree (a <table> then stays inside an open <p>).
enum class DocumentMode { NoQuirks, LimitedQuirks, Quirks };

// The mode the doctype of a page sets: the first token when it is a doctype, else Quirks.
DocumentMode ModeOfDoctype(std::string_view doctypeToken);

}  // namespace langxing::html
