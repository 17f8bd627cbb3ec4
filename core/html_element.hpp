// SPDX-License-Identifier: GPL-3.0-or-later
// Picking elements out of a parsed page by tag, id and class, and writing one element's
// content back out as clean markup: the HTML standard's serialisation, without scripts,
// styles, frames, forms and the elements a caller names, with lazy and protocol-relative
// picture addresses made absolute.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

namespace html {
class ParsedHtml;
}

// Matches an element whose every given part matches; an empty part matches anything. The
// tag is compared in lower case, the class as one of the element's blank-separated classes.
struct ElementSelector {
  std::string_view tag;
  std::string_view id;
  std::string_view className;
};

struct FragmentRules {
  // Elements left out with everything inside them.
  std::vector<std::string> droppedIds;
  std::vector<std::string> droppedClasses;
  // Protocol-relative addresses ("//host/path") in src, href and data-src get this scheme.
  std::string schemeForRelative = "https";
};

class HtmlPage {
 public:
  // Parses UTF-8 markup behind the nesting guard (html_nesting.hpp). The page keeps its own
  // copy of the markup: the parsed tree points into it.
  explicit HtmlPage(std::string_view utf8);
  ~HtmlPage();
  HtmlPage(const HtmlPage&) = delete;
  HtmlPage& operator=(const HtmlPage&) = delete;

  // The content of the first matching element in document order, serialised (UTF-8); nullopt
  // when none matches. A picture with a data-src shows that address instead of its src.
  std::optional<std::string> InnerHtmlOf(const ElementSelector& selector,
                                         const FragmentRules& rules) const;

  // The visible text of the first matching element: its text pieces with a blank between
  // elements, runs of white space as one blank, trimmed. nullopt when none matches.
  std::optional<std::string> TextOf(const ElementSelector& selector) const;

 private:
  std::string source_;  // declared first: the tree below points into it
  std::unique_ptr<html::ParsedHtml> parsed_;
};

}  // namespace langxing
