// SPDX-License-Identifier: GPL-3.0-or-later
// Picking elements out of a parsed page by tag, id and class, and writing one element's
// content back out as clean markup: the HTML standard's serialisation, without scripts,
// styles, frames, forms and the elements a caller names, with lazy and protocol-relative
// picture addresses made absolute.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace langxing {

namespace html {
class ParsedHtml;
}

// One element of a parsed page, as a caller's own walk over the tree sees it (HtmlPage::Walk).
// Valid while its page lives; two views of the same element compare equal.
class HtmlElement {
 public:
  // The name in lower case ("div"); an unknown element keeps the name of its source tag.
  std::string Name() const;
  // The attribute's value; empty when the element has none.
  std::string_view Attribute(const char* name) const;
  bool HasAttribute(const char* name) const;
  // One of the element's blank-separated classes.
  bool HasClass(std::string_view className) const;
  // Scripts, styles, frames, forms, plugins: never an article's content.
  bool IsNotContent() const;
  bool operator==(const HtmlElement& other) const { return node_ == other.node_; }
  // The element's identity, the same for every view of it: a key for sets and maps.
  const void* Key() const { return node_; }

 private:
  friend struct HtmlElementAccess;
  explicit HtmlElement(const void* node) : node_(node) {}
  const void* node_;  // the parser's node
};

// What a walk over a page is told, in document order.
class HtmlVisitor {
 public:
  virtual ~HtmlVisitor() = default;
  // An element opens; false leaves out its content and its Leave.
  virtual bool Enter(const HtmlElement& element) = 0;
  // Character data inside the element last entered (a script's or a style's text as well).
  virtual void Text(std::string_view text) = 0;
  virtual void Leave(const HtmlElement& element) = 0;
};

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
  // Any other element the caller leaves out, with everything inside it.
  std::function<bool(const HtmlElement&)> dropWhen;
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

  // Walks every element and text of the page from its <html> element down, in document order.
  void Walk(HtmlVisitor& visitor) const;

  // An element met on a walk: its content, or the element itself with its content, serialised
  // as InnerHtmlOf writes it; and its visible text as TextOf gives it.
  std::string InnerHtmlOf(const HtmlElement& element, const FragmentRules& rules) const;
  std::string OuterHtmlOf(const HtmlElement& element, const FragmentRules& rules) const;
  std::string TextOf(const HtmlElement& element) const;

 private:
  std::string source_;  // declared first: the tree below points into it
  std::unique_ptr<html::ParsedHtml> parsed_;
};

}  // namespace langxing
