// SPDX-License-Identifier: GPL-3.0-or-later
// The guard before the parser: a reading of the page by the HTML tokenizer's states and a
// model of the tree builder's stack of open elements. The model errs on one side only: it
// may keep an element open that the parser closes, never the other way round, so the depth
// it counts is at least the depth the parser builds.
#include "core/html_nesting.hpp"

#include <gumbo.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/html_ascii.hpp"

namespace langxing::html {

namespace {

using NameId = std::uint64_t;

constexpr NameId kFnvBasis = 14695981039346656037ull;
constexpr NameId kFnvPrime = 1099511628211ull;
constexpr NameId Mix(NameId h, char c) { return (h ^ static_cast<unsigned char>(c)) * kFnvPrime; }
constexpr NameId Id(std::string_view lowerName) {
  NameId h = kFnvBasis;
  for (const char c : lowerName) h = Mix(h, c);
  return h;
}

// What the tree builder does with an element of a given name.
enum Trait : std::uint32_t {
  kVoid = 1u << 0,
  kRawText = 1u << 1,     // its content is text up to its end tag
  kFormatting = 1u << 2,  // kept in the list of active formatting elements
  kSpecial = 1u << 3,     // stops the search of an unmatched end tag
  kScopeLimit = 1u << 4,  // bounds "in scope" for the default scope
  kMarker = 1u << 5,      // closing it forgets the formatting elements opened inside
  kClosesP = 1u << 6,     // its start tag closes an open <p>
  kTablePart = 1u << 7,   // table, row group, row, cell, caption, column group
  kBreaksOut = 1u << 8,   // its start tag leaves SVG or MathML content
};

const std::unordered_map<NameId, std::uint32_t>& TraitTable() {
  static const auto table = [] {
    std::unordered_map<NameId, std::uint32_t> t;
    auto add = [&t](std::initializer_list<std::string_view> names, std::uint32_t bit) {
      for (const auto name : names) t[Id(name)] |= bit;
    };
    add({"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "image", "img",
         "input", "keygen", "link", "meta", "param", "source", "track", "wbr"},
        kVoid);
    add({"script", "style", "xmp", "iframe", "noembed", "noframes", "textarea", "title",
         "plaintext"},
        kRawText);
    add({"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt",
         "u"},
        kFormatting);
    add({"address",
         "applet",
         "area",
         "article",
         "aside",
         "base",
         "basefont",
         "bgsound",
         "blockquote",
         "body",
         "br",
         "button",
         "caption",
         "center",
         "col",
         "colgroup",
         "dd",
         "details",
         "dir",
         "div",
         "dl",
         "dt",
         "embed",
         "fieldset",
         "figcaption",
         "figure",
         "footer",
         "form",
         "frame",
         "frameset",
         "h1",
         "h2",
         "h3",
         "h4",
         "h5",
         "h6",
         "head",
         "header",
         "hgroup",
         "hr",
         "html",
         "iframe",
         "img",
         "input",
         "keygen",
         "li",
         "link",
         "listing",
         "main",
         "marquee",
         "menu",
         "meta",
         "nav",
         "noembed",
         "noframes",
         "noscript",
         "object",
         "ol",
         "p",
         "param",
         "plaintext",
         "pre",
         "script",
         "section",
         "select",
         "source",
         "style",
         "summary",
         "table",
         "tbody",
         "td",
         "template",
         "textarea",
         "tfoot",
         "th",
         "thead",
         "title",
         "tr",
         "track",
         "ul",
         "wbr",
         "xmp",
         "mi",
         "mo",
         "mn",
         "ms",
         "mtext",
         "annotation-xml",
         "foreignobject",
         "desc"},
        kSpecial);
    add({"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template", "mi",
         "mo", "mn", "ms", "mtext", "annotation-xml", "foreignobject", "desc", "title"},
        kScopeLimit);
    add({"applet", "object", "marquee", "template", "td", "th", "caption"}, kMarker);
    add({"address", "article",   "aside", "blockquote", "center",     "details", "dialog",
         "dir",     "div",       "dl",    "fieldset",   "figcaption", "figure",  "footer",
         "header",  "hgroup",    "main",  "menu",       "nav",        "ol",      "p",
         "section", "summary",   "ul",    "h1",         "h2",         "h3",      "h4",
         "h5",      "h6",        "pre",   "listing",    "form",       "li",      "dd",
         "dt",      "plaintext", "hr",    "xmp"},
        kClosesP);
    add({"table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "colgroup", "col"},
        kTablePart);
    add({"b",      "big",  "blockquote", "body",  "br",   "center", "code",    "dd",   "div",
         "dl",     "dt",   "em",         "embed", "h1",   "h2",     "h3",      "h4",   "h5",
         "h6",     "head", "hr",         "i",     "img",  "li",     "listing", "menu", "meta",
         "nobr",   "ol",   "p",          "pre",   "ruby", "s",      "small",   "span", "strong",
         "strike", "sub",  "sup",        "table", "tt",   "u",      "ul",      "var"},
        kBreaksOut);
    return t;
  }();
  return table;
}

std::uint32_t TraitsOf(NameId name) {
  const auto& table = TraitTable();
  const auto it = table.find(name);
  return it == table.end() ? 0u : it->second;
}

constexpr NameId kA = Id("a"), kBody = Id("body"), kButton = Id("button"), kDd = Id("dd"),
                 kDt = Id("dt"), kForm = Id("form"), kFrameset = Id("frameset"), kHead = Id("head"),
                 kHtml = Id("html"), kLi = Id("li"), kMath = Id("math"), kNobr = Id("nobr"),
                 kNoframes = Id("noframes"), kOl = Id("ol"), kOptgroup = Id("optgroup"),
                 kOption = Id("option"), kP = Id("p"), kPlaintext = Id("plaintext"),
                 kScript = Id("script"), kSelect = Id("select"), kSvg = Id("svg"),
                 kTable = Id("table"), kTbody = Id("tbody"), kTemplate = Id("template"),
                 kTfoot = Id("tfoot"), kThead = Id("thead"), kTr = Id("tr"), kTd = Id("td"),
                 kTh = Id("th"), kCaption = Id("caption"), kColgroup = Id("colgroup"),
                 kCol = Id("col"), kUl = Id("ul"), kBr = Id("br"), kFont = Id("font"),
                 kAddress = Id("address"), kDiv = Id("div"), kAnnotationXml = Id("annotation-xml");

bool IsHeading(NameId n) {
  return n == Id("h1") || n == Id("h2") || n == Id("h3") || n == Id("h4") || n == Id("h5") ||
         n == Id("h6");
}
bool IsCell(NameId n) { return n == kTd || n == kTh; }
bool IsRowGroup(NameId n) { return n == kTbody || n == kThead || n == kTfoot; }

// Elements inside which the content may be HTML again, though their parent is SVG or MathML.
bool IsIntegrationPoint(NameId n, bool svg) {
  if (svg) return n == Id("foreignobject") || n == Id("desc") || n == Id("title");
  return n == Id("mi") || n == Id("mo") || n == Id("mn") || n == Id("ms") || n == Id("mtext") ||
         n == kAnnotationXml;
}

struct StartTag {
  NameId name = 0;
  NameId key = 0;  // name and attributes: formatting elements alike in both count as one
  bool selfClosing = false;
  bool fontBreaksOut = false;  // <font> with color, face or size leaves SVG/MathML content
  bool unknown = false;
};

struct Open {
  NameId name;
  std::uint32_t traits;
  bool foreign;          // an SVG or MathML element
  bool svg;              // of SVG (else MathML) when foreign
  bool htmlInside;       // its content may be read as HTML (an integration point, or HTML)
  bool foreignInside;    // its content may be SVG/MathML
  std::size_t listSize;  // formatting list length when it opened (for markers)
  std::uint64_t listId;  // its entry in the list of active formatting elements, or 0
  bool unknown;          // a name the parser has no tag for
};

class Guard {
 public:
  Guard(std::string_view s, const MarkupLimits& limits) : s_(s), limits_(limits) {}

  PreparedMarkup Run() {
    PreparedMarkup result;
    std::size_t end = s_.size();
    std::size_t i = 0;
    while (true) {
      const std::size_t lt = s_.find('<', i);
      if (lt == std::string_view::npos || lt + 1 >= s_.size()) break;
      if (lt > i) {
        if (!firstTokenSeen_ && HasText(i, lt)) firstTokenSeen_ = true;
        if (!Reconstruct()) {
          end = i;
          break;
        }
      }
      i = ReadToken(lt);
      if (i == kCut || items_ > limits_.maxItems || work_ > limits_.maxWork) {
        end = lt;
        break;
      }
      if (i == kRestIsText) break;
    }
    if (!firstTokenSeen_ && HasText(i, s_.size())) firstTokenSeen_ = true;
    result.cut = end < s_.size();
    result.mode = mode_;
    if (edits_.empty()) {
      result.text = s_.substr(0, end);
      return result;
    }
    result.storage.reserve(end);
    std::size_t at = 0;
    for (const Edit& edit : edits_) {
      if (edit.begin >= end) break;
      result.storage.append(s_, at, edit.begin - at);
      result.storage += edit.replacement;
      at = std::min(edit.end, end);
    }
    result.storage.append(s_, at, end - at);
    result.text = result.storage;
    return result;
  }

 private:
  static constexpr std::size_t kCut = static_cast<std::size_t>(-1);
  static constexpr std::size_t kRestIsText = static_cast<std::size_t>(-2);

  struct Edit {
    std::size_t begin;
    std::size_t end;
    std::string_view replacement;
  };

  bool HasText(std::size_t from, std::size_t to) const {
    return !IsAllSpace(s_.substr(from, to - from));
  }

  // The token that starts with the '<' at `i`; returns the position after it.
  std::size_t ReadToken(std::size_t i) {
    ++items_;
    const char c = s_[i + 1];
    if (c == '!') return ReadMarkupDeclaration(i);
    if (c == '?') return BogusCommentEnd(i + 2);
    if (c == '/') {
      if (i + 2 >= s_.size()) return s_.size();
      if (IsAlpha(s_[i + 2])) {
        firstTokenSeen_ = true;
        work_ += Depth() + 1;
        return ReadEndTag(i);
      }
      if (s_[i + 2] == '>') return i + 3;
      return BogusCommentEnd(i + 2);
    }
    if (IsAlpha(c)) {
      firstTokenSeen_ = true;
      work_ += Depth() + 1;
      return ReadStartTag(i);
    }
    --items_;  // a '<' that starts no tag is text
    return i + 1;
  }

  std::size_t Find(std::string_view what, std::size_t from) const {
    const std::size_t at = s_.find(what, from);
    return at == std::string_view::npos ? s_.size() : at;
  }

  std::size_t BogusCommentEnd(std::size_t from) const {
    const std::size_t gt = s_.find('>', from);
    return gt == std::string_view::npos ? s_.size() : gt + 1;
  }

  // After "<!": a comment, a doctype, or a bogus comment (CDATA included, which outside SVG
  // and MathML is one; inside them it ends at "]]>", later than here, which only makes the
  // guard read more tags than the parser).
  std::size_t ReadMarkupDeclaration(std::size_t i) {
    if (s_.substr(i + 2, 2) == "--") {
      // "<!-->" and "<!--->" are whole comments; otherwise "-->" or "--!>" ends one.
      const std::size_t close = Find("-->", i + 2);
      const std::size_t limit = std::min(close + 3, s_.size());
      const std::size_t bang = s_.substr(0, limit).find("--!>", i + 4);
      if (bang != std::string_view::npos && bang < close) return bang + 4;
      return limit;
    }
    const std::size_t end = BogusCommentEnd(i + 2);
    const bool doctype = EqualsIgnoringCase(s_.substr(i + 2, 7), "doctype");
    if (doctype && !firstTokenSeen_) HandleDoctype(i, end);
    if (doctype) firstTokenSeen_ = true;
    return end;
  }

  // The parser takes the mode from the first token when it is a doctype. Where its own table
  // could decide otherwise, the doctype is replaced by one it reads the same way as the
  // standard's list does.
  void HandleDoctype(std::size_t begin, std::size_t end) {
    const std::string_view token = s_.substr(begin, end - begin);
    mode_ = ModeOfDoctype(token);
    if (mode_ == DocumentMode::Quirks) {
      edits_.push_back({begin, end, "<!DOCTYPE quirks>"});
    } else if (!IsPlainDoctype(token)) {
      edits_.push_back({begin, end, "<!DOCTYPE html>"});
    }
  }

  static bool IsPlainDoctype(std::string_view token) {
    return EqualsIgnoringCase(token, "<!doctype html>");
  }

  // Reads a tag's attributes from `i` (just past its name) to its end, by the tokenizer's
  // attribute states. Returns the position after '>', or npos when the input ends inside the
  // tag (the tokenizer then drops the tag).
  std::size_t ReadAttributes(std::size_t i, StartTag* tag) {
    std::size_t count = 0;
    while (true) {
      while (i < s_.size() && IsSpace(s_[i])) ++i;
      if (i >= s_.size()) return std::string_view::npos;
      if (s_[i] == '>') return i + 1;
      if (s_[i] == '/') {
        ++i;
        if (i < s_.size() && s_[i] == '>') {
          if (tag) tag->selfClosing = true;
          return i + 1;
        }
        continue;
      }
      // An attribute name: its first character may be anything ('=' and quotes included).
      const std::size_t attributeStart = i;
      NameId nameHash = kFnvBasis;
      do {
        nameHash = Mix(nameHash, Lower(s_[i]));
        ++i;
      } while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '/' && s_[i] != '>' && s_[i] != '=');
      while (i < s_.size() && IsSpace(s_[i])) ++i;
      std::string_view value;
      if (i < s_.size() && s_[i] == '=') {
        ++i;
        while (i < s_.size() && IsSpace(s_[i])) ++i;
        if (i >= s_.size()) return std::string_view::npos;
        if (s_[i] == '"' || s_[i] == '\'') {
          const std::size_t close = s_.find(s_[i], i + 1);
          if (close == std::string_view::npos) return std::string_view::npos;
          value = s_.substr(i + 1, close - i - 1);
          i = close + 1;
        } else if (s_[i] != '>') {
          const std::size_t from = i;
          while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '>') ++i;
          value = s_.substr(from, i - from);
        }
      }
      ++count;
      if (tag) {
        NameId key = Mix(tag->key, '\x01');
        for (const char c : value) key = Mix(key, c);
        tag->key = key ^ nameHash;
        if (nameHash == Id("color") || nameHash == Id("face") || nameHash == Id("size")) {
          tag->fontBreaksOut = true;
        }
      }
      ++items_;
      if (count > limits_.maxAttributesPerElement) edits_.push_back({attributeStart, i, " "});
    }
  }

  // Reads a tag name; `unknown` tells whether the parser has a tag of its own for it.
  NameId ReadName(std::size_t& i, bool& unknown) const {
    const std::size_t from = i;
    NameId h = kFnvBasis;
    while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '/' && s_[i] != '>') {
      h = Mix(h, Lower(s_[i]));
      ++i;
    }
    unknown =
        gumbo_tagn_enum(s_.data() + from, static_cast<unsigned>(i - from)) == GUMBO_TAG_UNKNOWN;
    return h;
  }

  std::size_t ReadEndTag(std::size_t i) {
    i += 2;
    bool unknown = false;
    const NameId name = ReadName(i, unknown);
    const std::size_t end = ReadAttributes(i, nullptr);
    if (end == std::string_view::npos) return s_.size();
    if (unknown) {
      AnyOtherEndTag(name, true);
    } else {
      EndTag(name);
    }
    return end;
  }

  std::size_t ReadStartTag(std::size_t i) {
    ++i;
    StartTag tag;
    tag.name = ReadName(i, tag.unknown);
    tag.key = tag.name;
    const std::size_t end = ReadAttributes(i, &tag);
    if (end == std::string_view::npos) return s_.size();
    if (items_ > limits_.maxItems) return kCut;
    const std::uint32_t traits = TraitsOf(tag.name);
    const bool html = StartTagIsHtml(tag);
    if (!StartTagOpens(tag, traits, html)) return kCut;
    if (html && (traits & kRawText) && RawTextApplies(tag.name)) {
      if (tag.name == kPlaintext) return kRestIsText;
      return SkipRawText(end, tag.name);
    }
    return end;
  }

  // -- The model of the tree builder -------------------------------------------------------

  bool Foreign() const {
    return !stack_.empty() && stack_.back().foreign && !stack_.back().htmlInside;
  }

  // Decides whether a start tag is read by the HTML rules; in SVG or MathML content, a tag of
  // HTML's own first closes the foreign elements.
  bool StartTagIsHtml(const StartTag& tag) {
    if (!Foreign()) return true;
    const bool breaksOut =
        (TraitsOf(tag.name) & kBreaksOut) || (tag.name == kFont && tag.fontBreaksOut);
    if (!breaksOut) return false;
    while (Foreign()) Pop();
    return true;
  }

  // Raw text is read as such only where the parser inserts the element by the HTML rules:
  // not in SVG/MathML content (an annotation-xml may hold either), and, but for <script>,
  // not where a select or frameset ignores the tag.
  bool RawTextApplies(NameId name) const {
    if (!stack_.empty() && stack_.back().foreignInside) return false;
    if (name == kScript) return true;
    if (Count(kSelect) > 0) return false;
    if (Count(kFrameset) > 0 && name != kNoframes) return false;
    return true;
  }

  int Count(NameId name) const {
    const auto it = openCount_.find(name);
    return it == openCount_.end() ? 0 : it->second;
  }

  std::size_t Depth() const { return stack_.size(); }

  // Applies a start tag; false when it would make the tree deeper than allowed.
  bool StartTagOpens(const StartTag& tag, std::uint32_t traits, bool html) {
    if (!html) {
      if (tag.selfClosing) return true;
      return Push(tag.name, 0, true, false, 0, tag.unknown);
    }
    const NameId n = tag.name;
    if (n == kSvg || n == kMath) {
      if (tag.selfClosing) return true;
      return Push(n, 0, true, n == kSvg);
    }
    if (n == kHtml || n == kBody || n == kHead) return true;
    // In a select, another select, an input, a keygen or a textarea closes it.
    if ((n == kSelect || n == Id("input") || n == Id("keygen") || n == Id("textarea")) &&
        Count(kSelect) > 0) {
      for (std::size_t k = stack_.size(); k-- > 0;) {
        if (stack_[k].name == kSelect) {
          PopThrough(k);
          break;
        }
      }
      if (n == kSelect) return true;
    }
    if (traits & kTablePart) return TablePart(tag, traits);
    if (traits & kClosesP) ClosePInButtonScope();
    if (n == kLi || n == kDd || n == kDt) CloseListItem(n);
    if (IsHeading(n) && !stack_.empty() && IsHeading(stack_.back().name)) Pop();
    if ((n == kOption || n == kOptgroup) && !stack_.empty() && stack_.back().name == kOption) {
      Pop();
    }
    if (n == kButton && InScope(kButton, kScopeLimit) != kNone)
      PopThrough(InScope(kButton, kScopeLimit));
    if (n == kA && LastFormatting(kA) != kNone) EndFormatting(kA);
    if (n == kNobr && InScope(kNobr, kScopeLimit) != kNone) EndFormatting(kNobr);
    if (n == kForm) {
      if (formPointer_ && Count(kTemplate) == 0) return true;  // a nested form is ignored
      formPointer_ = true;
    }
    // Most start tags first reopen the formatting elements that misnested markup closed.
    if (!(traits & (kClosesP | kTablePart)) && n != kForm && !Reconstruct()) return false;
    if (traits & kVoid) return true;
    if ((traits & kRawText) && RawTextApplies(n)) return Depth() + 1 <= limits_.maxDepth;
    const std::uint64_t listId = (traits & kFormatting) ? AddFormatting(tag.key, n) : 0;
    return Push(n, traits, false, false, listId, tag.unknown);
  }

  // Table structure, with the elements the parser implies (a <td> straight in a <table>
  // opens TBODY and TR first) and the ones it closes (an open cell or row before a new one).
  bool TablePart(const StartTag& tag, std::uint32_t traits) {
    const NameId n = tag.name;
    if (n == kTable) {
      // Straight in a table, a table closes the one open before it opens.
      const NameId top = stack_.empty() ? 0 : stack_.back().name;
      if (top == kTable || top == kTr || IsRowGroup(top)) {
        for (std::size_t k = stack_.size(); k-- > 0;) {
          if (stack_[k].name == kTable) {
            PopThrough(k);
            break;
          }
        }
      }
      return Push(n, traits, false);
    }
    if (Count(kTable) == 0 && Count(kTemplate) == 0) return true;  // ignored outside tables
    // Close what the new part cannot sit in, down to the table context it belongs to.
    while (true) {
      const std::size_t k = NearestTableContext();
      if (k == kNone) break;
      const NameId at = stack_[k].name;
      // The parser leaves what is open inside a template open (a cell there does not close
      // the elements before it), so the model keeps it open too.
      if (at == kTemplate) break;
      if (at == kTable) {
        PopAbove(k);
        break;
      }
      if (IsCell(at) || at == kCaption || at == kColgroup) {
        PopThrough(k);
        continue;
      }
      if (at == kTr) {
        if (IsCell(n)) {
          PopAbove(k);
          break;
        }
        PopThrough(k);
        continue;
      }
      if (IsRowGroup(at)) {
        if (IsCell(n) || n == kTr) {
          PopAbove(k);
          break;
        }
        PopThrough(k);
        continue;
      }
      break;
    }
    const NameId top = stack_.empty() ? 0 : stack_.back().name;
    if (IsCell(n)) {
      if (top == kTable) {
        if (!Push(kTbody, TraitsOf(kTbody), false)) return false;
      }
      if (stack_.back().name != kTr && stack_.back().name != kTemplate) {
        if (!Push(kTr, TraitsOf(kTr), false)) return false;
      }
    } else if (n == kTr && top == kTable) {
      if (!Push(kTbody, TraitsOf(kTbody), false)) return false;
    } else if (n == kCol) {
      return top != kTable || Push(kColgroup, TraitsOf(kColgroup), false);
    }
    return Push(n, traits, false);
  }

  std::size_t NearestTableContext() const {
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const NameId n = stack_[k].name;
      if (stack_[k].foreign) continue;
      if ((TraitsOf(n) & kTablePart) || n == kTemplate || n == kHtml) return k;
    }
    return kNone;
  }

  void EndTag(NameId n) {
    if (Count(n) == 0 && !(TraitsOf(n) & kFormatting)) return;  // closes nothing open
    if (ClosesForeign(n)) return;
    const std::uint32_t traits = TraitsOf(n);
    if (n == kP) {
      const std::size_t k = InScope(kP, kScopeLimit, kButton);
      if (k != kNone) PopThrough(k);
    } else if (n == kLi) {
      const std::size_t k = InScope(kLi, kScopeLimit, kOl, kUl);
      if (k != kNone) PopThrough(k);
    } else if (IsHeading(n)) {
      for (std::size_t k = stack_.size(); k-- > 0;) {
        if (IsHeading(stack_[k].name) && !stack_[k].foreign) {
          PopThrough(k);
          break;
        }
        if (TraitsOf(stack_[k].name) & kScopeLimit) break;
      }
    } else if (n == kForm) {
      // The parser takes only the form off its stack; what the form holds stays open inside
      // it, so in the tree the form still counts.
      formPointer_ = false;
    } else if (traits & kFormatting) {
      EndFormatting(n);
    } else if (traits & kTablePart) {
      const std::size_t k = InTableScope(n);
      if (k != kNone) PopThrough(k);
    } else if (n == kFrameset) {
      // The parser may have ignored the start tag: only a frameset that is the current node
      // closes.
      if (!stack_.empty() && stack_.back().name == kFrameset) Pop();
    } else if (n == kBody || n == kHtml || n == kBr) {
      // </body> and </html> only change the insertion mode; </br> is a <br>.
    } else if (traits & kSpecial) {
      const std::size_t k = InScope(n, kScopeLimit);
      if (k != kNone) PopThrough(k);
    } else {
      AnyOtherEndTag(n);
    }
  }

  // In SVG and MathML content, at their HTML integration points too (an SVG <title>), an end
  // tag first closes the nearest foreign element of its name; once an HTML element is reached,
  // the HTML rules run from the top. True when it closed one.
  bool ClosesForeign(NameId n) {
    if (stack_.empty() || !stack_.back().foreign) return false;
    for (std::size_t k = stack_.size(); k-- > 0 && stack_[k].foreign;) {
      if (stack_[k].name == n) {
        PopThrough(k);
        return true;
      }
    }
    return false;
  }

  // "Any other end tag": the nearest element of that name closes, unless a special element
  // stands above it. The parser tells names apart by its tags, so to it an end tag it has no
  // tag for matches the nearest element it has none for either.
  void AnyOtherEndTag(NameId n, bool unknown = false) {
    if (ClosesForeign(n)) return;
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const Open& at = stack_[k];
      if (!at.foreign && (unknown ? at.unknown : at.name == n)) {
        PopThrough(k);
        return;
      }
      if (at.traits & kSpecial) return;
    }
  }

  // The end of a formatting element. Without a special element above it, everything above
  // it closes with it; with one, the parser moves it up above that element and the stack
  // keeps its size, which is what the model does.
  void EndFormatting(NameId n) {
    // The parser repeats its steps up to eight times: a moved element is met again and, with
    // no special element above it any more, closes.
    for (int round = 0; round < 8; ++round) {
      const std::size_t entry = LastFormatting(n);
      if (entry == kNone) {
        if (round == 0) AnyOtherEndTag(n);
        return;
      }
      std::size_t k = stack_.size();
      while (k-- > 0 && stack_[k].listId != formatting_[entry].id) {
      }
      if (k == static_cast<std::size_t>(-1)) {
        RemoveFormatting(entry);
        return;
      }
      for (std::size_t j = k + 1; j < stack_.size(); ++j) {
        if (stack_[j].traits & kScopeLimit) return;  // not in scope: ignored
      }
      std::size_t block = kNone;
      for (std::size_t j = k + 1; j < stack_.size(); ++j) {
        if (stack_[j].traits & kSpecial) {
          block = j;
          break;
        }
      }
      if (block == kNone) {
        RemoveFormatting(entry);
        PopThrough(k);
        return;
      }
      // The formatting element reappears right above the block; nothing is closed.
      const Open moved = stack_[k];
      stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(k));
      stack_.insert(stack_.begin() + static_cast<std::ptrdiff_t>(block), moved);
    }
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::size_t InScope(NameId n, std::uint32_t limit, NameId extra1 = 0, NameId extra2 = 0) const {
    if (Count(n) == 0) return kNone;
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const NameId at = stack_[k].name;
      if (at == n && !stack_[k].foreign) return k;  // an SVG <title> is no HTML <title>
      if ((stack_[k].traits & limit) || (extra1 != 0 && at == extra1) ||
          (extra2 != 0 && at == extra2) || at == kHtml) {
        return kNone;
      }
    }
    return kNone;
  }

  std::size_t InTableScope(NameId n) const {
    if (Count(n) == 0) return kNone;
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const NameId at = stack_[k].name;
      if (!stack_[k].foreign && (at == n || (IsCell(n) && IsCell(at)))) return k;
      if (at == kTable || at == kTemplate || at == kHtml) return kNone;
    }
    return kNone;
  }

  void ClosePInButtonScope() {
    const std::size_t k = InScope(kP, kScopeLimit, kButton);
    if (k != kNone) PopThrough(k);
  }

  // A new <li> (<dd>, <dt>) closes the open one of its kind unless a special element other
  // than address, div and p lies between.
  void CloseListItem(NameId n) {
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const NameId at = stack_[k].name;
      const bool same = !stack_[k].foreign && (n == kLi ? at == kLi : (at == kDd || at == kDt));
      if (same) {
        PopThrough(k);
        return;
      }
      if ((stack_[k].traits & kSpecial) && at != kAddress && at != kDiv && at != kP) return;
    }
  }

  bool Push(NameId n, std::uint32_t traits, bool foreign, bool svg = false,
            std::uint64_t listId = 0, bool unknown = false) {
    if (foreign && !stack_.empty() && stack_.back().foreign && n != kSvg && n != kMath) {
      svg = stack_.back().svg;
    }
    const bool integration = foreign && IsIntegrationPoint(n, svg);
    Open open{n,
              traits,
              foreign,
              svg,
              !foreign || integration,
              foreign && (!integration || n == kAnnotationXml),
              formatting_.size(),
              listId,
              unknown};
    if (foreign) open.traits = integration ? (kSpecial | kScopeLimit) : 0;
    if (open.traits & kMarker) formatting_.push_back({0, 0, 0, false});
    stack_.push_back(open);
    ++openCount_[n];
    return Depth() <= limits_.maxDepth;
  }

  void Pop() {
    const Open& top = stack_.back();
    --openCount_[top.name];
    if (top.listId != 0) MarkClosed(top.listId);
    if (top.traits & kMarker) TruncateFormatting(top.listSize);
    stack_.pop_back();
  }
  void PopThrough(std::size_t k) {
    while (stack_.size() > k) Pop();
  }
  void PopAbove(std::size_t k) {
    while (stack_.size() > k + 1) Pop();
  }

  // -- The list of active formatting elements ----------------------------------------------
  // Entries {name, key}; a marker is {0, 0}. As in the parser, a fourth element alike in name
  // and attributes since the last marker does not grow the list.
  struct Formatting {
    NameId name;
    NameId key;
    std::uint64_t id;
    bool open;  // its element is on the stack
  };

  // Adds an entry and returns its id. As in the parser, a fourth element alike in name and
  // attributes since the last marker pushes the earliest of the three out of the list.
  std::uint64_t AddFormatting(NameId key, NameId name) {
    int alike = 0;
    for (std::size_t k = formatting_.size(); k-- > 0 && formatting_[k].name != 0;) {
      if (formatting_[k].key == key && ++alike == 3) {
        RemoveFormatting(k);
        break;
      }
    }
    formatting_.push_back({name, key, ++lastId_, true});
    return lastId_;
  }

  void MarkClosed(std::uint64_t id) {
    for (std::size_t k = formatting_.size(); k-- > 0;) {
      if (formatting_[k].id == id) {
        formatting_[k].open = false;
        return;
      }
    }
  }

  // Reopens, as the parser does before text and most start tags, the formatting elements
  // since the last marker whose elements were closed; false when that goes too deep.
  bool Reconstruct() {
    std::size_t k = formatting_.size();
    while (k > 0 && formatting_[k - 1].name != 0 && !formatting_[k - 1].open) --k;
    for (; k < formatting_.size(); ++k) {
      Formatting& entry = formatting_[k];
      entry.open = true;
      if (!Push(entry.name, TraitsOf(entry.name), false, false, entry.id)) return false;
    }
    return true;
  }

  std::size_t LastFormatting(NameId name) const {
    for (std::size_t k = formatting_.size(); k-- > 0 && formatting_[k].name != 0;) {
      if (formatting_[k].name == name) return k;
    }
    return kNone;
  }

  void RemoveFormatting(std::size_t k) {
    formatting_.erase(formatting_.begin() + static_cast<std::ptrdiff_t>(k));
  }

  void TruncateFormatting(std::size_t size) {
    if (formatting_.size() > size) formatting_.resize(size);
  }

  // Past the end tag "</name" (any case), or the end of input.
  std::size_t SkipRawText(std::size_t i, NameId name) const {
    while (true) {
      i = s_.find("</", i);
      if (i == std::string_view::npos) return s_.size();
      std::size_t k = i + 2;
      NameId h = kFnvBasis;
      while (k < s_.size() && IsAlpha(s_[k])) h = Mix(h, Lower(s_[k++]));
      if (h == name) return i;
      i += 2;
    }
  }

  std::string_view s_;
  MarkupLimits limits_;
  std::vector<Open> stack_;
  std::unordered_map<NameId, int> openCount_;
  std::vector<Formatting> formatting_;
  std::uint64_t lastId_ = 0;
  std::size_t items_ = 0;
  std::size_t work_ = 0;
  bool formPointer_ = false;
  bool firstTokenSeen_ = false;
  DocumentMode mode_ = DocumentMode::Quirks;
  std::vector<Edit> edits_;
};

}  // namespace

PreparedMarkup PrepareMarkup(std::string_view utf8, const MarkupLimits& limits) {
  std::string_view page = utf8;
  if (page.size() > limits.maxBytes) {
    std::size_t n = limits.maxBytes;
    while (n > 0 && (static_cast<unsigned char>(page[n]) & 0xC0) == 0x80) --n;  // whole characters
    page = page.substr(0, n);
  }
  PreparedMarkup result = Guard(page, limits).Run();
  if (page.size() < utf8.size()) result.cut = true;
  return result;
}

}  // namespace langxing::html
