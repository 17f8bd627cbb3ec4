// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html_element.hpp"

#include <algorithm>
#include <vector>

#include "core/ascii.hpp"
#include "core/collapsed_space.hpp"
#include "core/html_parse.hpp"
#include "core/html_tag_traits.hpp"

namespace langxing {

// The parser's node behind an element view, and the view of a node.
struct HtmlElementAccess {
  static const GumboNode* Node(const HtmlElement& element) {
    return static_cast<const GumboNode*>(element.node_);
  }
  static HtmlElement Of(const GumboNode* node) { return HtmlElement(node); }
};

namespace {

using html::ChildAt;
using html::ChildrenOf;
using html::IsElement;
using html::IsTextNode;
using html::WalkDescendants;

using ascii::IsSpace;
using html::Has;

std::string_view AttributeOf(const GumboNode* node, const char* name) {
  const GumboAttribute* a = gumbo_get_attribute(&node->v.element.attributes, name);
  return a != nullptr ? std::string_view(a->value) : std::string_view();
}

bool HasClass(std::string_view classes, std::string_view wanted) {
  std::size_t i = 0;
  while (i < classes.size()) {
    while (i < classes.size() && IsSpace(classes[i])) ++i;
    std::size_t end = i;
    while (end < classes.size() && !IsSpace(classes[end])) ++end;
    if (end > i && classes.substr(i, end - i) == wanted) return true;
    i = end;
  }
  return false;
}

// The element's name as the standard serialises it: lower case; an unknown element keeps the
// spelling of its source tag.
std::string NameOf(const GumboNode* node) {
  const GumboElement& element = node->v.element;
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  GumboStringPiece source = element.original_tag;
  gumbo_tag_from_original_text(&source);
  std::string name(source.data != nullptr ? source.length : 0, '\0');
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = source.data[i];
    name[i] = ascii::Lower(c);
  }
  // A name that is not a plain word would break the markup written from it.
  const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':';
  });
  return plain ? name : "span";
}

bool Matches(const GumboNode* node, const ElementSelector& selector) {
  if (node->type != GUMBO_NODE_ELEMENT) return false;
  if (!selector.tag.empty() && NameOf(node) != selector.tag) return false;
  if (!selector.id.empty() && AttributeOf(node, "id") != selector.id) return false;
  if (!selector.className.empty() && !HasClass(AttributeOf(node, "class"), selector.className)) {
    return false;
  }
  return true;
}

struct Finder {
  const ElementSelector& selector;
  const GumboNode* found = nullptr;
  bool Visit(const GumboNode*, unsigned, const GumboNode* child) {
    if (found != nullptr || !IsElement(child)) return false;
    if (Matches(child, selector)) {
      found = child;
      return false;
    }
    return true;
  }
  void Leave(const GumboNode*) {}
};

// Never part of an article's content: they run, style, frame or submit something.
bool IsDroppedTag(GumboTag tag) { return Has(tag, html::kNotContent); }

// Text written as it came: the raw-text elements that are not dropped.
bool HasRawText(GumboTag tag) { return Has(tag, html::kWrittenRaw) && !IsDroppedTag(tag); }

void AppendEscaped(std::string& out, std::string_view text, bool inAttribute) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      out += "&amp;";
    } else if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {
      out += "&nbsp;";
      ++i;
    } else if (inAttribute && c == '"') {
      out += "&quot;";
    } else if (!inAttribute && c == '<') {
      out += "&lt;";
    } else if (!inAttribute && c == '>') {
      out += "&gt;";
    } else {
      out.push_back(c);
    }
  }
}

class FragmentWriter {
 public:
  explicit FragmentWriter(const FragmentRules& rules) : rules_(rules) {}

  std::string Write(const GumboNode* element) {
    WalkDescendants(element, *this);
    return std::move(out_);
  }

  // The element itself with its content; nothing when the rules leave it out.
  std::string WriteWhole(const GumboNode* element) {
    if (!IsElement(element) || IsDropped(element)) return {};
    Open(element);
    if (Has(element->v.element.tag, html::kNoEndTag)) return std::move(out_);
    WalkDescendants(element, *this);
    Leave(element);
    return std::move(out_);
  }

  bool Visit(const GumboNode* parent, unsigned, const GumboNode* child) {
    if (IsElement(child)) {
      if (IsDropped(child)) return false;
      Open(child);
      return !Has(child->v.element.tag, html::kNoEndTag);
    }
    if (IsTextNode(child)) {
      const std::string_view text = child->v.text.text;
      if (IsElement(parent) && HasRawText(parent->v.element.tag)) {
        out_ += text;
      } else {
        AppendEscaped(out_, text, false);
      }
    }
    return false;  // comments and the rest are left out
  }

  void Leave(const GumboNode* element) {
    out_ += "</";
    out_ += NameOf(element);
    out_.push_back('>');
  }

 private:
  bool IsDropped(const GumboNode* node) const {
    if (IsDroppedTag(node->v.element.tag)) return true;
    if (rules_.dropWhen && rules_.dropWhen(HtmlElementAccess::Of(node))) return true;
    const std::string_view id = AttributeOf(node, "id");
    if (!id.empty() && std::find(rules_.droppedIds.begin(), rules_.droppedIds.end(), id) !=
                           rules_.droppedIds.end()) {
      return true;
    }
    const std::string_view classes = AttributeOf(node, "class");
    if (classes.empty()) return false;
    return std::any_of(rules_.droppedClasses.begin(), rules_.droppedClasses.end(),
                       [classes](const std::string& c) { return HasClass(classes, c); });
  }

  void Open(const GumboNode* node) {
    out_.push_back('<');
    out_ += NameOf(node);
    const GumboVector& attributes = node->v.element.attributes;
    const bool isPicture = node->v.element.tag == GUMBO_TAG_IMG;
    // A lazy picture shows what its data-src names; its src is a placeholder.
    const std::string_view lazySource = isPicture ? AttributeOf(node, "data-src") : "";
    for (unsigned i = 0; i < attributes.length; ++i) {
      const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
      const std::string_view name = a->name;
      // Event handlers never run in the view, and a written page has no use for them.
      if (name.size() > 2 && name.starts_with("on")) continue;
      if (!IsPlainName(name)) continue;
      std::string_view value = a->value;
      if (!lazySource.empty()) {
        if (name == "data-src") continue;
        if (name == "src") value = lazySource;
      }
      out_.push_back(' ');
      out_ += name;
      out_ += "=\"";
      if ((name == "src" || name == "href" || name == "data-src") && value.starts_with("//")) {
        out_ += rules_.schemeForRelative;
        out_.push_back(':');
      }
      AppendEscaped(out_, value, true);
      out_.push_back('"');
    }
    if (!lazySource.empty() && gumbo_get_attribute(&attributes, "src") == nullptr) {
      out_ += " src=\"";
      if (lazySource.starts_with("//")) out_ += rules_.schemeForRelative + ":";
      AppendEscaped(out_, lazySource, true);
      out_.push_back('"');
    }
    out_.push_back('>');
  }

  // Attribute names the markup can carry as written (the parser accepts almost anything).
  static bool IsPlainName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' ||
             c == '.';
    });
  }

  const FragmentRules& rules_;
  std::string out_;
};

// The visible text: the text pieces with white space collapsed and a blank at every element edge.
class TextWriter {
 public:
  std::string Write(const GumboNode* element) {
    WalkDescendants(element, *this);
    return text_.Take();
  }

  bool Visit(const GumboNode*, unsigned, const GumboNode* child) {
    if (IsElement(child)) {
      if (IsDroppedTag(child->v.element.tag)) return false;
      text_.Break();
      return true;
    }
    if (IsTextNode(child)) text_.Append(child->v.text.text);
    return false;
  }
  void Leave(const GumboNode*) { text_.Break(); }

 private:
  SpaceCollapser text_;
};

}  // namespace

HtmlPage::HtmlPage(std::string_view utf8)
    : source_(utf8), parsed_(std::make_unique<html::ParsedHtml>(source_)) {}

HtmlPage::~HtmlPage() = default;

namespace {
const GumboNode* FindFirst(const GumboNode* root, const ElementSelector& selector) {
  if (root == nullptr) return nullptr;
  if (Matches(root, selector)) return root;
  Finder finder{selector};
  WalkDescendants(root, finder);
  return finder.found;
}
}  // namespace

std::optional<std::string> HtmlPage::InnerHtmlOf(const ElementSelector& selector,
                                                 const FragmentRules& rules) const {
  const GumboNode* element = FindFirst(parsed_->Root(), selector);
  if (element == nullptr) return std::nullopt;
  return FragmentWriter(rules).Write(element);
}

std::optional<std::string> HtmlPage::TextOf(const ElementSelector& selector) const {
  const GumboNode* element = FindFirst(parsed_->Root(), selector);
  if (element == nullptr) return std::nullopt;
  return TextWriter().Write(element);
}

namespace {
// Hands gumbo's walk on to a caller's visitor as element views and texts.
struct VisitorAdapter {
  HtmlVisitor& visitor;
  bool Visit(const GumboNode*, unsigned, const GumboNode* child) {
    if (IsElement(child)) return visitor.Enter(HtmlElementAccess::Of(child));
    if (IsTextNode(child)) visitor.Text(child->v.text.text);
    return false;
  }
  void Leave(const GumboNode* element) { visitor.Leave(HtmlElementAccess::Of(element)); }
};
}  // namespace

void HtmlPage::Walk(HtmlVisitor& visitor) const {
  const GumboNode* root = parsed_->Root();
  if (root == nullptr || !visitor.Enter(HtmlElementAccess::Of(root))) return;
  VisitorAdapter adapter{visitor};
  WalkDescendants(root, adapter);
  visitor.Leave(HtmlElementAccess::Of(root));
}

std::string HtmlPage::InnerHtmlOf(const HtmlElement& element, const FragmentRules& rules) const {
  return FragmentWriter(rules).Write(HtmlElementAccess::Node(element));
}

std::string HtmlPage::OuterHtmlOf(const HtmlElement& element, const FragmentRules& rules) const {
  return FragmentWriter(rules).WriteWhole(HtmlElementAccess::Node(element));
}

std::string HtmlPage::TextOf(const HtmlElement& element) const {
  return TextWriter().Write(HtmlElementAccess::Node(element));
}

std::string HtmlElement::Name() const { return NameOf(HtmlElementAccess::Node(*this)); }

std::string_view HtmlElement::Attribute(const char* name) const {
  return AttributeOf(HtmlElementAccess::Node(*this), name);
}

bool HtmlElement::HasAttribute(const char* name) const {
  const GumboNode* node = HtmlElementAccess::Node(*this);
  return gumbo_get_attribute(&node->v.element.attributes, name) != nullptr;
}

bool HtmlElement::HasClass(std::string_view className) const {
  return langxing::HasClass(Attribute("class"), className);
}

bool HtmlElement::IsNotContent() const {
  return IsDroppedTag(HtmlElementAccess::Node(*this)->v.element.tag);
}

}  // namespace langxing
