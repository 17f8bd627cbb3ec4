// Parsing a decoded page with gumbo and writing its body back out as innerHTML and innerText,
// in the form the headline and announcement scrapers cut with literal markers. Both walks use an
// explicit stack, so no nesting depth can overflow the call stack.
#include <gumbo.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/html_attributes.hpp"
#include "core/html_document.hpp"
#include "core/html_nesting.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

// Gumbo stops collecting parse errors after this many; the serialiser never reads them.
constexpr int kMaxRecordedErrors = 0;
// How much of a page is looked at to tell markup from binary data.
constexpr std::size_t kBinaryScanLength = 1024;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

bool IsAnyOf(GumboTag tag, std::initializer_list<GumboTag> tags) {
  for (const GumboTag t : tags) {
    if (t == tag) return true;
  }
  return false;
}

bool IsElement(const GumboNode* node) {
  return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

GumboTag TagOf(const GumboNode* node) {
  return IsElement(node) ? node->v.element.tag : GUMBO_TAG_UNKNOWN;
}

bool IsVoid(GumboTag tag) {
  return IsAnyOf(tag, {GUMBO_TAG_AREA, GUMBO_TAG_BASE, GUMBO_TAG_BR, GUMBO_TAG_COL,
                       GUMBO_TAG_EMBED, GUMBO_TAG_HR, GUMBO_TAG_IMG, GUMBO_TAG_INPUT,
                       GUMBO_TAG_LINK, GUMBO_TAG_META, GUMBO_TAG_PARAM, GUMBO_TAG_SOURCE,
                       GUMBO_TAG_TRACK, GUMBO_TAG_WBR, GUMBO_TAG_BGSOUND, GUMBO_TAG_FRAME,
                       GUMBO_TAG_KEYGEN});
}

// Elements that start on a line of their own in innerHTML and end a line in innerText.
bool IsBlock(GumboTag tag) {
  return IsAnyOf(tag, {GUMBO_TAG_P,          GUMBO_TAG_DIV,        GUMBO_TAG_TABLE,
                       GUMBO_TAG_THEAD,      GUMBO_TAG_TBODY,      GUMBO_TAG_TFOOT,
                       GUMBO_TAG_TR,         GUMBO_TAG_TD,         GUMBO_TAG_TH,
                       GUMBO_TAG_CAPTION,    GUMBO_TAG_COLGROUP,   GUMBO_TAG_COL,
                       GUMBO_TAG_UL,         GUMBO_TAG_OL,         GUMBO_TAG_LI,
                       GUMBO_TAG_DL,         GUMBO_TAG_DT,         GUMBO_TAG_DD,
                       GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_CENTER,     GUMBO_TAG_H1,
                       GUMBO_TAG_H2,         GUMBO_TAG_H3,         GUMBO_TAG_H4,
                       GUMBO_TAG_H5,         GUMBO_TAG_H6,         GUMBO_TAG_FORM,
                       GUMBO_TAG_HR,         GUMBO_TAG_PRE,        GUMBO_TAG_ADDRESS});
}

bool IsBlockNode(const GumboNode* node) { return IsElement(node) && IsBlock(TagOf(node)); }

// Parents whose white-space-only text is never written: only rows and cells may sit in them.
bool IsTableStructure(GumboTag tag) {
  return IsAnyOf(tag, {GUMBO_TAG_TABLE, GUMBO_TAG_THEAD, GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT,
                       GUMBO_TAG_TR, GUMBO_TAG_COLGROUP});
}

// Text of these is written exactly as it came: the parser read it as raw text, so escaping it
// would change what it says. Beyond SCRIPT and STYLE these are the other raw-text elements.
bool HasRawText(GumboTag tag) {
  return IsAnyOf(tag, {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_XMP, GUMBO_TAG_IFRAME,
                       GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES, GUMBO_TAG_PLAINTEXT});
}

// White space inside these (and inside anything nested in them) is kept as written.
bool KeepsWhiteSpace(GumboTag tag) {
  return IsAnyOf(tag, {GUMBO_TAG_PRE, GUMBO_TAG_TEXTAREA, GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE}) ||
         HasRawText(tag);
}

// Not visible text: no innerText comes from inside these. A frame's fallback text and a
// template's content are never shown either.
bool HasNoVisibleText(GumboTag tag) {
  return IsAnyOf(tag, {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_TEMPLATE, GUMBO_TAG_IFRAME,
                       GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES});
}

const GumboVector& ChildrenOf(const GumboNode* node) {
  return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children
                                           : node->v.element.children;
}

const GumboNode* ChildAt(const GumboNode* node, unsigned index) {
  return static_cast<const GumboNode*>(ChildrenOf(node).data[index]);
}

bool IsTextNode(const GumboNode* node) {
  return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
         node->type == GUMBO_NODE_CDATA;
}

std::string_view TextOf(const GumboNode* node) { return node->v.text.text; }

bool IsAllSpace(std::string_view text) {
  for (const char c : text) {
    if (!IsSpace(c)) return false;
  }
  return true;
}

// Known elements are written in upper case; an unknown one keeps its source spelling.
std::string ElementName(const GumboNode* node) {
  const GumboElement& element = node->v.element;
  std::string name;
  if (element.tag != GUMBO_TAG_UNKNOWN) {
    name = gumbo_normalized_tagname(element.tag);
    for (char& c : name) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
  }
  std::string_view source(element.original_tag.data, element.original_tag.length);
  if (source.starts_with('<')) source.remove_prefix(1);
  std::size_t end = 0;
  while (end < source.size() && !IsSpace(source[end]) && source[end] != '/' &&
         source[end] != '>') {
    ++end;
  }
  name = source.substr(0, end);
  // An unknown element the parser made up has no source text; its name is all that is left.
  if (name.empty()) name = "UNKNOWN";
  return name;
}

void AppendEscapedText(std::string& out, std::string_view text, bool collapseSpace) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (collapseSpace && IsSpace(c)) {
      out.push_back(' ');
      while (i + 1 < text.size() && IsSpace(text[i + 1])) ++i;
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {
      out += "&nbsp;";  // U+00A0 in UTF-8; 0xC2 is never a continuation byte
      ++i;
    } else {
      out.push_back(c);
    }
  }
}

class InnerHtmlWriter {
 public:
  std::string Write(const GumboNode* body) {
    struct Frame {
      const GumboNode* node;
      unsigned next;
    };
    std::vector<Frame> stack{{body, 0}};
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const GumboNode* parent = frame.node;
      if (frame.next >= ChildrenOf(parent).length) {
        if (parent != body) CloseElement(parent);
        stack.pop_back();
        continue;
      }
      const unsigned index = frame.next++;
      const GumboNode* child = ChildAt(parent, index);
      if (IsElement(child)) {
        OpenElement(child);
        if (!IsVoid(TagOf(child))) stack.push_back({child, 0});
      } else if (IsTextNode(child)) {
        WriteText(parent, index, TextOf(child));
      } else if (child->type == GUMBO_NODE_COMMENT) {
        out_ += "<!--";
        out_ += TextOf(child);
        out_ += "-->";
      }
    }
    return std::move(out_);
  }

 private:
  void OpenElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (IsBlock(tag) && !out_.empty()) out_ += "\r\n";
    out_.push_back('<');
    out_ += ElementName(node);
    const GumboVector& attributes = node->v.element.attributes;
    if (attributes.length > 0) {
      attributes_.clear();
      for (unsigned i = 0; i < attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
        attributes_.push_back({a->name, {a->original_name.data, a->original_name.length},
                               a->value, a->original_value.length != 0});
      }
      html::AppendAttributes(out_, attributes_);
    }
    out_.push_back('>');
    if (KeepsWhiteSpace(tag)) ++keepSpaceDepth_;
  }

  void CloseElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (KeepsWhiteSpace(tag)) --keepSpaceDepth_;
    out_ += "</";
    out_ += ElementName(node);
    out_.push_back('>');
  }

  void WriteText(const GumboNode* parent, unsigned index, std::string_view text) {
    const GumboTag parentTag = TagOf(parent);
    if (IsElement(parent) && HasRawText(parentTag)) {
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
      if (first || last || IsTableStructure(parentTag) ||
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
    struct Frame {
      const GumboNode* node;
      unsigned next;
    };
    std::vector<Frame> stack{{body, 0}};
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const GumboNode* parent = frame.node;
      if (frame.next >= ChildrenOf(parent).length) {
        if (parent != body) LeaveElement(parent);
        stack.pop_back();
        continue;
      }
      const GumboNode* child = ChildAt(parent, frame.next++);
      if (IsElement(child)) {
        const GumboTag tag = TagOf(child);
        if (HasNoVisibleText(tag)) continue;
        if (tag == GUMBO_TAG_BR) {
          out_ += "\r\n";
          pendingSpace_ = false;
          continue;
        }
        EnterElement(child);
        stack.push_back({child, 0});
      } else if (IsTextNode(child)) {
        AppendText(TextOf(child));
      }
    }
    // Trim line breaks at both ends.
    std::size_t begin = 0;
    std::size_t end = out_.size();
    while (begin < end && (out_[begin] == '\r' || out_[begin] == '\n')) ++begin;
    while (end > begin && (out_[end - 1] == '\r' || out_[end - 1] == '\n')) --end;
    return out_.substr(begin, end - begin);
  }

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
    if (IsBlock(tag) && !IsCell(tag)) BreakLine();
    if (tag == GUMBO_TAG_PRE) ++preDepth_;
  }

  // Cells are separated by a space only; other blocks end their line.
  void LeaveElement(const GumboNode* node) {
    const GumboTag tag = TagOf(node);
    if (tag == GUMBO_TAG_PRE) --preDepth_;
    if (IsCell(tag)) {
      pendingSpace_ = true;
    } else if (IsBlock(tag)) {
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
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (IsSpace(text[i])) {
        pendingSpace_ = true;
        continue;
      }
      FlushSpace();
      out_.push_back(text[i]);
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
bool LooksBinary(std::u16string_view text) {
  const std::u16string_view head = text.substr(0, kBinaryScanLength);
  for (const char16_t c : head) {
    if (c <= 0x08 || c == 0x0B || (c >= 0x0E && c <= 0x1A) || (c >= 0x1C && c <= 0x1F)) {
      return true;
    }
  }
  return false;
}

const GumboNode* FindBody(const GumboOutput* output) {
  const GumboNode* html = output->root;
  if (html == nullptr || !IsElement(html)) return nullptr;
  const GumboVector& children = html->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (IsElement(child) && child->v.element.tag == GUMBO_TAG_BODY) return child;
  }
  return nullptr;  // a frameset page has no body
}

struct GumboOutputDeleter {
  void operator()(GumboOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};

}  // namespace

BodyTexts SerializeBody(std::u16string_view html) {
  if (html.empty() || LooksBinary(html)) return {};
  const std::string utf8 = Utf16ToUtf8(html);
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = kMaxRecordedErrors;
  const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
      gumbo_parse_with_options(&options, utf8.data(), html::ParseableLength(utf8)));
  if (!output) return {};
  const GumboNode* body = FindBody(output.get());
  if (body == nullptr) return {};
  return {Utf8ToUtf16(InnerHtmlWriter().Write(body)), Utf8ToUtf16(InnerTextWriter().Write(body))};
}

}  // namespace langxing
