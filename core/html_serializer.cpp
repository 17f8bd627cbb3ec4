// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a decoded page with gumbo and writing its body back out as innerHTML and innerText,
// in the form the headline and announcement scrapers cut with literal markers. Both walks use an
// explicit stack, so no nesting depth can overflow the call stack.
#include "core/html_serializer.hpp"

#include <gumbo.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii.hpp"
#include "core/html_attributes.hpp"
#include "core/html_nesting.hpp"
#include "core/html_parse.hpp"
#include "core/html_tag_traits.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

using html::ChildAt;
using html::ChildrenOf;
using html::IsElement;
using html::IsTextNode;
using html::WalkDescendants;

// How much of a page is looked at to tell markup from binary data.
constexpr std::size_t kBinaryScanLength = 1024;

using ascii::IsAllSpace;
using ascii::IsSpace;
using html::Has;

GumboTag TagOf(const GumboNode* node) {
  return IsElement(node) ? node->v.element.tag : GUMBO_TAG_UNKNOWN;
}

bool IsBlockNode(const GumboNode* node) {
  return IsElement(node) && Has(TagOf(node), html::kBlock);
}

std::string_view TextOf(const GumboNode* node) { return node->v.text.text; }

// Known elements are written in upper case; an unknown one keeps its source spelling.
void AppendElementName(std::string& out, const GumboNode* node) {
  const GumboElement& element = node->v.element;
  const std::string_view known = html::UpperNameOf(element.tag);
  if (!known.empty()) {
    out += known;
    return;
  }
  std::string_view source(element.original_tag.data, element.original_tag.length);
  if (source.starts_with('<')) source.remove_prefix(1);
  std::size_t end = 0;
  while (end < source.size() && !IsSpace(source[end]) && source[end] != '/' && source[end] != '>') {
    ++end;
  }
  // An unknown element the parser made up has no source text; its name is all that is left.
  out += end > 0 ? source.substr(0, end) : std::string_view("UNKNOWN");
}

// An attribute written without "=": gumbo leaves its source value empty or, in some versions,
// pointing at the name itself.
bool IsBareAttribute(const GumboAttribute& a) {
  return a.value[0] == '\0' &&
         (a.original_value.length == 0 || a.original_value.data == a.original_name.data);
}

void AppendEscapedText(std::string& out, std::string_view text, bool collapseSpace) {
  std::size_t plain = 0;  // start of the run of bytes written as they are
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool space = collapseSpace && IsSpace(c);
    const bool nbsp = c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0';
    if (!space && !nbsp && c != '&' && c != '<' && c != '>') continue;
    out.append(text, plain, i - plain);
    if (space) {
      out.push_back(' ');
      while (i + 1 < text.size() && IsSpace(text[i + 1])) ++i;
    } else if (nbsp) {
      out += "&nbsp;";  // U+00A0 in UTF-8; 0xC2 is never a continuation byte
      ++i;
    } else {
      out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
    }
    plain = i + 1;
  }
  out.append(text, plain, text.size() - plain);
}

class InnerHtmlWriter {
 public:
  std::string Write(const GumboNode* body) {
    WalkDescendants(body, *this);
    return std::move(out_);
  }

  bool Visit(const GumboNode* parent, unsigned index, const GumboNode* child) {
    if (IsElement(child)) {
      OpenElement(child);
      return !Has(TagOf(child), html::kNoEndTag);
    }
    if (IsTextNode(child)) {
      WriteText(parent, index, TextOf(child));
    } else if (child->type == GUMBO_NODE_COMMENT) {
      out_ += "<!--";
      out_ += TextOf(child);
      out_ += "-->";
    }
    return false;
  }
  void Leave(const GumboNode* element) { CloseElement(element); }

 private:
  void OpenElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (Has(tag, html::kBlock) && !out_.empty()) out_ += "\r\n";
    out_.push_back('<');
    AppendElementName(out_, node);
    const GumboVector& attributes = node->v.element.attributes;
    if (attributes.length > 0) {
      attributes_.clear();
      for (unsigned i = 0; i < attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
        attributes_.push_back({a->name,
                               {a->original_name.data, a->original_name.length},
                               a->value,
                               !IsBareAttribute(*a)});
      }
      html::AppendAttributes(out_, attributes_);
    }
    out_.push_back('>');
    if (Has(tag, html::kKeepsWhiteSpace)) ++keepSpaceDepth_;
  }

  void CloseElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (Has(tag, html::kKeepsWhiteSpace)) --keepSpaceDepth_;
    out_ += "</";
    AppendElementName(out_, node);
    out_.push_back('>');
  }

  void WriteText(const GumboNode* parent, unsigned index, std::string_view text) {
    const GumboTag parentTag = TagOf(parent);
    if (IsElement(parent) && Has(parentTag, html::kWrittenRaw)) {
      out_ += text;
      return;
    }
    if (keepSpaceDepth_ > 0) {
      AppendEscapedText(out_, text, false);
      return;
    }
    if (IsAllSpace(text)) {
      const GumboVector& siblings = ChildrenOf(parent);
      const bool first = index == 0;
      const bool last = index + 1 == siblings.length;
      if (first || last || Has(parentTag, html::kTableStructure) ||
          IsBlockNode(ChildAt(parent, index - 1)) || IsBlockNode(ChildAt(parent, index + 1))) {
        return;
      }
      out_.push_back(' ');
      return;
    }
    AppendEscapedText(out_, text, true);
  }

  std::string out_;
  int keepSpaceDepth_ = 0;
  std::vector<html::SourceAttribute> attributes_;
};

class InnerTextWriter {
 public:
  std::string Write(const GumboNode* body) {
    WalkDescendants(body, *this);
    // Trim line breaks at both ends.
    std::size_t begin = 0;
    std::size_t end = out_.size();
    while (begin < end && (out_[begin] == '\r' || out_[begin] == '\n')) ++begin;
    while (end > begin && (out_[end - 1] == '\r' || out_[end - 1] == '\n')) --end;
    return out_.substr(begin, end - begin);
  }

  bool Visit(const GumboNode*, unsigned, const GumboNode* child) {
    if (IsElement(child)) {
      const GumboTag tag = TagOf(child);
      if (Has(tag, html::kNoVisibleText)) return false;
      if (tag == GUMBO_TAG_BR) {
        out_ += "\r\n";
        pendingSpace_ = false;
        return false;
      }
      EnterElement(child);
      return true;
    }
    if (IsTextNode(child)) AppendText(TextOf(child));
    return false;
  }
  void Leave(const GumboNode* element) { LeaveElement(element); }

 private:
  bool EndsWithLineBreak() const { return out_.ends_with("\r\n"); }

  void BreakLine() {
    if (!out_.empty() && !EndsWithLineBreak()) out_ += "\r\n";
    pendingSpace_ = false;
  }

  static bool IsCell(GumboTag tag) { return tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH; }

  // A block also starts a line, so that text before it is not glued to the block's first word.
  void EnterElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (Has(tag, html::kBlock) && !IsCell(tag)) BreakLine();
    if (tag == GUMBO_TAG_PRE) ++preDepth_;
  }

  // Cells are separated by a space only; other blocks end their line.
  void LeaveElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (tag == GUMBO_TAG_PRE) --preDepth_;
    if (IsCell(tag)) {
      pendingSpace_ = true;
    } else if (Has(tag, html::kBlock)) {
      BreakLine();
    }
  }

  // Runs of white space become one space, written only between words on a line.
  void AppendText(std::string_view text) {
    if (preDepth_ > 0) {
      FlushSpace();
      out_ += text;
      return;
    }
    std::size_t i = 0;
    while (i < text.size()) {
      if (IsSpace(text[i])) {
        pendingSpace_ = true;
        ++i;
        continue;
      }
      std::size_t wordEnd = i;
      while (wordEnd < text.size() && !IsSpace(text[wordEnd])) ++wordEnd;
      FlushSpace();
      out_.append(text, i, wordEnd - i);
      i = wordEnd;
    }
  }

  void FlushSpace() {
    if (pendingSpace_ && !out_.empty() && !out_.ends_with('\n')) out_.push_back(' ');
    pendingSpace_ = false;
  }

  std::string out_;
  bool pendingSpace_ = false;
  int preDepth_ = 0;
};

// Binary data (an image, an archive) shows control bytes that markup does not contain.
bool LooksBinary(std::string_view text) {
  for (const char c : text.substr(0, kBinaryScanLength)) {
    if ((c >= 0 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1A) ||
        (c >= 0x1C && c <= 0x1F)) {
      return true;
    }
  }
  return false;
}

const GumboNode* FindBody(const GumboNode* html) {
  if (html == nullptr || !IsElement(html)) return nullptr;
  const GumboVector& children = html->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (IsElement(child) && child->v.element.tag == GUMBO_TAG_BODY) return child;
  }
  return nullptr;  // a frameset page has no body
}

}  // namespace

BodyTexts SerializeBody(std::u16string_view html) { return SerializeBodyUtf8(Utf16ToUtf8(html)); }

BodyTexts SerializeBodyUtf8(std::string_view html, const std::atomic<bool>* cancel,
                            BodyParts parts) {
  const auto wanted = [parts](BodyParts part) {
    return (static_cast<int>(parts) & static_cast<int>(part)) != 0;
  };
  auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
  if (html.empty() || LooksBinary(html)) return {};
  const html::ParsedHtml parsed(html);
  const GumboNode* body = FindBody(parsed.Root());
  if (body == nullptr || cancelled()) return {};
  BodyTexts texts;
  if (wanted(BodyParts::kInnerHtml)) texts.innerHtml = Utf8ToUtf16(InnerHtmlWriter().Write(body));
  if (cancelled()) return {};
  if (wanted(BodyParts::kInnerText)) texts.innerText = Utf8ToUtf16(InnerTextWriter().Write(body));
  return texts;
}

}  // namespace langxing
