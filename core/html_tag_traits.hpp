// SPDX-License-Identifier: GPL-3.0-or-later
// What the guard (html_nesting.cpp) and the writers (html_serializer.cpp, html_element.cpp) know
// of each element, looked up by gumbo's tag number. A name gumbo has no tag for is
// GUMBO_TAG_UNKNOWN and has none of these traits: two such names are told apart by the name
// itself, never by a number made from it.
#pragma once

#include <gumbo.h>

#include <cstdint>
#include <string_view>

namespace langxing::html {

enum TagTrait : std::uint32_t {
  // How the tree builder treats the element, as the guard models it.
  kVoid = 1u << 0,        // it never holds content
  kRawText = 1u << 1,     // its content is text up to its end tag
  kFormatting = 1u << 2,  // kept in the list of active formatting elements
  kSpecial = 1u << 3,     // stops the search of an unmatched end tag
  kScopeLimit = 1u << 4,  // bounds "in scope" for the default scope
  kMarker = 1u << 5,      // closing it forgets the formatting elements opened inside
  kClosesP = 1u << 6,     // its start tag closes an open <p>
  kTablePart = 1u << 7,   // table, row group, row, cell, caption, column group
  kBreaksOut = 1u << 8,   // its start tag leaves SVG or MathML content
  // How the writers write it.
  kNoEndTag = 1u << 9,          // written as a start tag alone (not BASEFONT, void to the parser)
  kBlock = 1u << 10,            // starts a line in innerHTML, ends one in innerText
  kTableStructure = 1u << 11,   // only rows and cells sit in it: white space text is left out
  kWrittenRaw = 1u << 12,       // its text is written as it came, unescaped
  kKeepsWhiteSpace = 1u << 13,  // white space inside it is written as it came
  kNoVisibleText = 1u << 14,    // nothing inside it is innerText
  kNotContent = 1u << 15,       // runs, styles, frames or submits something: never article content
};

// The traits of an element; none for GUMBO_TAG_UNKNOWN.
std::uint32_t TraitsOf(GumboTag tag);

inline bool Has(GumboTag tag, TagTrait trait) { return (TraitsOf(tag) & trait) != 0; }

// The element's name in upper case ("TABLE"); empty for GUMBO_TAG_UNKNOWN.
std::string_view UpperNameOf(GumboTag tag);

// The tag of a name in any case; GUMBO_TAG_UNKNOWN for a name gumbo has no tag for.
inline GumboTag TagOfName(std::string_view name) {
  return gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size()));
}

}  // namespace langxing::html
