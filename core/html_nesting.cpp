// SPDX-License-Identifier: GPL-3.0-or-later
// The guard before the parser: a reading of the page by the HTML tokenizer's states and a
// model of the tree builder's stack of open elements. The model errs on one side only: it
// may keep an element open that the parser closes, never the other way round, so the depth
// it counts is at least the depth the parser builds.
#include "core/html_nesting.hpp"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii.hpp"
#include "core/html_tag_traits.hpp"

namespace langxing::html {

using namespace ascii;  // the markup's character classes and case rules

namespace {

constexpr GumboTag kNoTag = GUMBO_TAG_LAST;  // no element: an empty stack, no extra scope limit

bool IsHeading(GumboTag t) { return t >= GUMBO_TAG_H1 && t <= GUMBO_TAG_H6; }
bool IsCell(GumboTag t) { return t == GUMBO_TAG_TD || t == GUMBO_TAG_TH; }
bool IsRowGroup(GumboTag t) {
  return t == GUMBO_TAG_TBODY || t == GUMBO_TAG_THEAD || t == GUMBO_TAG_TFOOT;
}

// Elements inside which the content may be HTML again, though their parent is SVG or MathML.
// An annotation-xml is one only when its encoding says the content is HTML.
bool IsIntegrationPoint(GumboTag t, bool svg, bool htmlEncoding) {
  if (svg) return t == GUMBO_TAG_FOREIGNOBJECT || t == GUMBO_TAG_DESC || t == GUMBO_TAG_TITLE;
  return t == GUMBO_TAG_MI || t == GUMBO_TAG_MO || t == GUMBO_TAG_MN || t == GUMBO_TAG_MS ||
         t == GUMBO_TAG_MTEXT || (t == GUMBO_TAG_ANNOTATION_XML && htmlEncoding);
}

// When the parser closes a table, a select or a template, it picks how to read what follows
// from the open elements, by tag alone: an SVG or MathML element named like one of these is
// taken for the HTML element, and the parser then acts on a table cell or select that is not
// there and aborts. Such foreign elements are renamed before the parse when they are open at
// that moment (see RenameConfusableForeign).
bool ConfusesModeReset(GumboTag t) {
  switch (t) {
    case GUMBO_TAG_SELECT:
    case GUMBO_TAG_TD:
    case GUMBO_TAG_TH:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_TBODY:
    case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TFOOT:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_COLGROUP:
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_BODY:
    case GUMBO_TAG_FRAMESET:
    case GUMBO_TAG_HTML:
      return true;
    default:
      return false;
  }
}

// Tags, start or end, at which the parser may close a table, select or template and so pick
// its mode again: the table and select tags themselves, the tags that close a select, and the
// table parts that close a select inside a table. Each counts whether or not a table or select
// is open then: the model's stack does not follow the parser's modes closely enough to tell, and
// renaming a little early is safe where renaming too late is not.
bool MayResetMode(GumboTag t, bool endTag) {
  switch (t) {
    case GUMBO_TAG_TABLE:
    case GUMBO_TAG_SELECT:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_TBODY:
    case GUMBO_TAG_THEAD:
    case GUMBO_TAG_TFOOT:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_TD:
    case GUMBO_TAG_TH:
      return true;
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_KEYGEN:
    case GUMBO_TAG_TEXTAREA:
      return !endTag;
    case GUMBO_TAG_TEMPLATE:
      return endTag;
    default:
      return false;
  }
}

// The tree builder closes an open <p> at a <dialog> too; gumbo has no tag for it, so that one is
// known by its name.
bool ClosesP(GumboTag tag, std::string_view name, std::uint32_t traits) {
  return (traits & kClosesP) || (tag == GUMBO_TAG_UNKNOWN && EqualsIgnoringCase(name, "dialog"));
}

struct StartTag {
  GumboTag tag = GUMBO_TAG_UNKNOWN;
  std::string_view name;  // as written
  // Formatting elements alike in tag and attributes count as one: for them, the attributes in
  // source order, names in lower case.
  std::string attributes;
  bool selfClosing = false;
  bool fontBreaksOut = false;  // <font> with color, face or size leaves SVG/MathML content
  bool htmlEncoding = false;   // encoding="text/html" or "application/xhtml+xml"
};

struct Open {
  GumboTag tag;
  std::string_view name;  // as written: elements gumbo has no tag for are told apart by it
  std::uint32_t traits;
  bool foreign;          // an SVG or MathML element
  bool svg;              // of SVG (else MathML) when foreign
  bool htmlInside;       // its content may be read as HTML (an integration point, or HTML)
  bool foreignInside;    // its content may be SVG/MathML
  std::size_t listSize;  // formatting list length when it opened (for markers)
  std::uint64_t listId;  // its entry in the list of active formatting elements, or 0
  // A foreign element the parser may take for an HTML one: where its start tag's name ends,
  // for a rename; else kNoRename.
  std::size_t renameAt;

  bool Is(GumboTag t) const { return tag == t; }
  // The same element name as an end tag's.
  bool Named(GumboTag t, std::string_view n) const {
    return tag == t && (t != GUMBO_TAG_UNKNOWN || EqualsIgnoringCase(name, n));
  }
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
    // At the end of the page, the parser closes an open template and picks its mode again.
    if (Count(GUMBO_TAG_TEMPLATE) > 0) RenameConfusableForeign();
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
  static constexpr std::size_t kNoRename = static_cast<std::size_t>(-1);
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
    const bool keepAttributes = tag != nullptr && Has(tag->tag, kFormatting);
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
      do {
        ++i;
      } while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '/' && s_[i] != '>' && s_[i] != '=');
      const std::string_view name = s_.substr(attributeStart, i - attributeStart);
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
      if (keepAttributes) {
        // Each attribute as its length-prefixed name and value, so that no two lists read alike.
        tag->attributes += std::to_string(name.size()) + ':' + LowerAscii(name);
        tag->attributes += std::to_string(value.size()) + ':';
        tag->attributes += value;
      }
      if (tag && EqualsIgnoringCase(name, "encoding") &&
          (EqualsIgnoringCase(value, "text/html") ||
           EqualsIgnoringCase(value, "application/xhtml+xml"))) {
        tag->htmlEncoding = true;
      }
      if (tag && (EqualsIgnoringCase(name, "color") || EqualsIgnoringCase(name, "face") ||
                  EqualsIgnoringCase(name, "size"))) {
        tag->fontBreaksOut = true;
      }
      ++items_;
      if (count > limits_.maxAttributesPerElement) edits_.push_back({attributeStart, i, " "});
    }
  }

  // Reads a tag name: its text as written and gumbo's tag for it.
  GumboTag ReadName(std::size_t& i, std::string_view& name) const {
    const std::size_t from = i;
    while (i < s_.size() && !IsSpace(s_[i]) && s_[i] != '/' && s_[i] != '>') ++i;
    name = s_.substr(from, i - from);
    return TagOfName(name);
  }

  std::size_t ReadEndTag(std::size_t i) {
    i += 2;
    std::string_view name;
    const GumboTag tag = ReadName(i, name);
    const std::size_t end = ReadAttributes(i, nullptr);
    if (end == std::string_view::npos) return s_.size();
    // An end tag that closes a foreign element of its name does not reach the HTML rules.
    if (MayResetMode(tag, true) && ForeignNamed(tag, name) == kNone) RenameConfusableForeign();
    if (tag == GUMBO_TAG_UNKNOWN) {
      AnyOtherEndTag(tag, name);
    } else {
      EndTag(tag, name);
    }
    return end;
  }

  std::size_t ReadStartTag(std::size_t i) {
    ++i;
    StartTag tag;
    tag.tag = ReadName(i, tag.name);
    const std::size_t end = ReadAttributes(i, &tag);
    if (end == std::string_view::npos) return s_.size();
    if (items_ > limits_.maxItems) return kCut;
    const std::uint32_t traits = TraitsOf(tag.tag);
    const bool html = StartTagIsHtml(tag);
    if (html && MayResetMode(tag.tag, false)) RenameConfusableForeign();
    if (!StartTagOpens(tag, traits, html, i)) return kCut;
    if (html && (traits & kRawText) && RawTextApplies(tag.tag)) {
      if (tag.tag == GUMBO_TAG_PLAINTEXT) return kRestIsText;
      return SkipRawText(end, tag.tag);
    }
    return end;
  }

  // -- The model of the tree builder -------------------------------------------------------

  bool Foreign() const {
    return !stack_.empty() && stack_.back().foreign && !stack_.back().htmlInside;
  }

  GumboTag Top() const { return stack_.empty() ? kNoTag : stack_.back().tag; }

  // Decides whether a start tag is read by the HTML rules; in SVG or MathML content, a tag of
  // HTML's own first closes the foreign elements.
  bool StartTagIsHtml(const StartTag& tag) {
    if (!Foreign()) return true;
    // An <svg> in a MathML annotation-xml opens SVG content by the HTML rules.
    if (tag.tag == GUMBO_TAG_SVG && !stack_.back().svg &&
        stack_.back().Is(GUMBO_TAG_ANNOTATION_XML)) {
      return true;
    }
    const bool breaksOut =
        Has(tag.tag, kBreaksOut) || (tag.tag == GUMBO_TAG_FONT && tag.fontBreaksOut);
    if (!breaksOut) return false;
    while (Foreign()) Pop();
    return true;
  }

  // Raw text is read as such only where the parser inserts the element by the HTML rules:
  // not in SVG/MathML content (an annotation-xml may hold either), and, but for <script>,
  // not where a select or frameset ignores the tag.
  bool RawTextApplies(GumboTag tag) const {
    if (!stack_.empty() && stack_.back().foreignInside) return false;
    if (tag == GUMBO_TAG_SCRIPT) return true;
    if (Count(GUMBO_TAG_SELECT) > 0) return false;
    if (Count(GUMBO_TAG_FRAMESET) > 0 && tag != GUMBO_TAG_NOFRAMES) return false;
    return true;
  }

  int Count(GumboTag tag) const { return openCount_[tag]; }

  std::size_t Depth() const { return stack_.size(); }

  // Applies a start tag; false when it would make the tree deeper than allowed.
  // `nameEnd` is where the tag's name ends in the page.
  bool StartTagOpens(const StartTag& tag, std::uint32_t traits, bool html, std::size_t nameEnd) {
    const GumboTag n = tag.tag;
    if (!html) {
      if (tag.selfClosing) return true;
      // In SVG or MathML content every element, <svg> and <math> too, takes its parent's
      // namespace.
      const bool svg = stack_.back().svg;
      if (!Push(n, tag.name, 0, true, svg, 0, tag.htmlEncoding)) return false;
      if (ConfusesModeReset(n)) {
        stack_.back().renameAt = nameEnd;
        ++confusableOpen_;
      }
      return true;
    }
    if (n == GUMBO_TAG_SVG || n == GUMBO_TAG_MATH) {
      if (tag.selfClosing) return true;
      return Push(n, tag.name, 0, true, n == GUMBO_TAG_SVG);
    }
    if (n == GUMBO_TAG_HTML || n == GUMBO_TAG_BODY || n == GUMBO_TAG_HEAD) return true;
    // In a select, another select, an input, a keygen or a textarea closes it. Only options
    // may stand above it: elsewhere the parser is no longer reading the select's content (a
    // table in a cell closed it, say), and the tag is read as in the body.
    if ((n == GUMBO_TAG_SELECT || n == GUMBO_TAG_INPUT || n == GUMBO_TAG_KEYGEN ||
         n == GUMBO_TAG_TEXTAREA) &&
        Count(GUMBO_TAG_SELECT) > 0) {
      const std::size_t k = SelectUnderOptions();
      if (k != kNone) {
        PopThrough(k);
        if (n == GUMBO_TAG_SELECT) return true;
      }
    }
    if (traits & kTablePart) return TablePart(n, traits);
    const bool closesP = ClosesP(n, tag.name, traits);
    if (closesP) ClosePInButtonScope();
    if (n == GUMBO_TAG_LI || n == GUMBO_TAG_DD || n == GUMBO_TAG_DT) CloseListItem(n);
    if (IsHeading(n) && IsHeading(Top())) Pop();
    if ((n == GUMBO_TAG_OPTION || n == GUMBO_TAG_OPTGROUP) && Top() == GUMBO_TAG_OPTION) Pop();
    if (n == GUMBO_TAG_BUTTON && InScope(n, kScopeLimit) != kNone) {
      PopThrough(InScope(n, kScopeLimit));
    }
    if (n == GUMBO_TAG_A && LastFormatting(n) != kNone) EndFormatting(n);
    if (n == GUMBO_TAG_NOBR && InScope(n, kScopeLimit) != kNone) EndFormatting(n);
    if (n == GUMBO_TAG_FORM) {
      if (formPointer_ && Count(GUMBO_TAG_TEMPLATE) == 0) return true;  // a nested form is ignored
      formPointer_ = true;
    }
    // Most start tags first reopen the formatting elements that misnested markup closed.
    if (!closesP && !(traits & kTablePart) && n != GUMBO_TAG_FORM && !Reconstruct()) return false;
    if (traits & kVoid) return true;
    if ((traits & kRawText) && RawTextApplies(n)) return Depth() + 1 <= limits_.maxDepth;
    const std::uint64_t listId = (traits & kFormatting) ? AddFormatting(n, tag.attributes) : 0;
    return Push(n, tag.name, traits, false, false, listId);
  }

  // Table structure, with the elements the parser implies (a <td> straight in a <table>
  // opens TBODY and TR first) and the ones it closes (an open cell or row before a new one).
  bool TablePart(GumboTag n, std::uint32_t traits) {
    if (n == GUMBO_TAG_TABLE) {
      // Straight in a table, a table closes the one open before it opens.
      const GumboTag top = Top();
      if (top == GUMBO_TAG_TABLE || top == GUMBO_TAG_TR || IsRowGroup(top)) {
        for (std::size_t k = stack_.size(); k-- > 0;) {
          if (stack_[k].Is(GUMBO_TAG_TABLE)) {
            PopThrough(k);
            break;
          }
        }
      }
      return Push(n, {}, traits, false);
    }
    if (Count(GUMBO_TAG_TABLE) == 0 && Count(GUMBO_TAG_TEMPLATE) == 0) {
      return true;  // ignored outside tables
    }
    // Close what the new part cannot sit in, down to the table context it belongs to.
    while (true) {
      const std::size_t k = NearestTableContext();
      if (k == kNone) break;
      const GumboTag at = stack_[k].tag;
      // The parser leaves what is open inside a template open (a cell there does not close
      // the elements before it), so the model keeps it open too.
      if (at == GUMBO_TAG_TEMPLATE) break;
      if (at == GUMBO_TAG_TABLE) {
        PopAbove(k);
        break;
      }
      if (IsCell(at) || at == GUMBO_TAG_CAPTION || at == GUMBO_TAG_COLGROUP) {
        PopThrough(k);
        continue;
      }
      if (at == GUMBO_TAG_TR) {
        if (IsCell(n)) {
          PopAbove(k);
          break;
        }
        PopThrough(k);
        continue;
      }
      if (IsRowGroup(at)) {
        if (IsCell(n) || n == GUMBO_TAG_TR) {
          PopAbove(k);
          break;
        }
        PopThrough(k);
        continue;
      }
      break;
    }
    const GumboTag top = Top();
    if (IsCell(n)) {
      if (top == GUMBO_TAG_TABLE && !PushImplied(GUMBO_TAG_TBODY)) return false;
      if (Top() != GUMBO_TAG_TR && Top() != GUMBO_TAG_TEMPLATE && !PushImplied(GUMBO_TAG_TR)) {
        return false;
      }
    } else if (n == GUMBO_TAG_TR && top == GUMBO_TAG_TABLE) {
      if (!PushImplied(GUMBO_TAG_TBODY)) return false;
    } else if (n == GUMBO_TAG_COL) {
      return top != GUMBO_TAG_TABLE || PushImplied(GUMBO_TAG_COLGROUP);
    }
    return Push(n, {}, traits, false);
  }

  // The select right under the open options and option groups, or kNone.
  std::size_t SelectUnderOptions() const {
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const Open& at = stack_[k];
      if (at.foreign) return kNone;
      if (at.Is(GUMBO_TAG_SELECT)) return k;
      if (!at.Is(GUMBO_TAG_OPTION) && !at.Is(GUMBO_TAG_OPTGROUP)) return kNone;
    }
    return kNone;
  }

  bool PushImplied(GumboTag tag) { return Push(tag, {}, TraitsOf(tag), false); }

  std::size_t NearestTableContext() const {
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const GumboTag n = stack_[k].tag;
      if (stack_[k].foreign) continue;
      if (Has(n, kTablePart) || n == GUMBO_TAG_TEMPLATE || n == GUMBO_TAG_HTML) return k;
    }
    return kNone;
  }

  void EndTag(GumboTag n, std::string_view name) {
    const std::uint32_t traits = TraitsOf(n);
    if (Count(n) == 0 && !(traits & kFormatting)) return;  // closes nothing open
    if (ClosesForeign(n, name)) return;
    if (n == GUMBO_TAG_P) {
      const std::size_t k = InScope(n, kScopeLimit, GUMBO_TAG_BUTTON);
      if (k != kNone) PopThrough(k);
    } else if (n == GUMBO_TAG_LI) {
      const std::size_t k = InScope(n, kScopeLimit, GUMBO_TAG_OL, GUMBO_TAG_UL);
      if (k != kNone) PopThrough(k);
    } else if (IsHeading(n)) {
      for (std::size_t k = stack_.size(); k-- > 0;) {
        if (IsHeading(stack_[k].tag) && !stack_[k].foreign) {
          PopThrough(k);
          break;
        }
        if (Has(stack_[k].tag, kScopeLimit)) break;
      }
    } else if (n == GUMBO_TAG_FORM) {
      // The parser takes only the form off its stack; what the form holds stays open inside
      // it, so in the tree the form still counts.
      formPointer_ = false;
    } else if (traits & kFormatting) {
      EndFormatting(n);
    } else if (traits & kTablePart) {
      const std::size_t k = InTableScope(n);
      if (k != kNone) PopThrough(k);
    } else if (n == GUMBO_TAG_FRAMESET) {
      // The parser may have ignored the start tag: only a frameset that is the current node
      // closes.
      if (Top() == GUMBO_TAG_FRAMESET) Pop();
    } else if (n == GUMBO_TAG_BODY || n == GUMBO_TAG_HTML || n == GUMBO_TAG_BR) {
      // </body> and </html> only change the insertion mode; </br> is a <br>.
    } else if (traits & kSpecial) {
      const std::size_t k = InScope(n, kScopeLimit);
      if (k != kNone) PopThrough(k);
    } else {
      AnyOtherEndTag(n, name);
    }
  }

  // In SVG and MathML content, at their HTML integration points too (an SVG <title>), an end
  // tag first closes the nearest foreign element of its name; once an HTML element is reached,
  // the HTML rules run from the top. True when it closed one.
  bool ClosesForeign(GumboTag n, std::string_view name) {
    const std::size_t k = ForeignNamed(n, name);
    if (k == kNone) return false;
    PopThrough(k);
    return true;
  }

  // The foreign element such an end tag closes, or kNone.
  std::size_t ForeignNamed(GumboTag n, std::string_view name) const {
    if (stack_.empty() || !stack_.back().foreign) return kNone;
    for (std::size_t k = stack_.size(); k-- > 0 && stack_[k].foreign;) {
      if (stack_[k].Named(n, name)) return k;
    }
    return kNone;
  }

  // Renames, by a '-' after the name, every open foreign element the parser could take for an
  // HTML table part, select or template when it picks its mode again. Called before each tag
  // at which it may do so; the elements open in the model then include those open in the
  // parser. A page without such elements open at such a tag is not changed.
  void RenameConfusableForeign() {
    if (confusableOpen_ == 0) return;
    for (Open& open : stack_) {
      if (open.renameAt == kNoRename) continue;
      const Edit edit{open.renameAt, open.renameAt, "-"};
      const auto at = std::upper_bound(edits_.begin(), edits_.end(), edit.begin,
                                       [](std::size_t b, const Edit& e) { return b < e.begin; });
      edits_.insert(at, edit);
      open.renameAt = kNoRename;
      --confusableOpen_;
    }
  }

  // "Any other end tag": the nearest element of that name closes, unless a special element
  // stands above it. The parser tells names apart by its tags, so to it an end tag it has no
  // tag for matches the nearest element it has none for either.
  void AnyOtherEndTag(GumboTag n, std::string_view name) {
    if (ClosesForeign(n, name)) return;
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const Open& at = stack_[k];
      if (!at.foreign && at.Is(n)) {
        PopThrough(k);
        return;
      }
      if (at.traits & kSpecial) return;
    }
  }

  // The end of a formatting element. Without a special element above it, everything above
  // it closes with it; with one, the parser moves it up above that element and the stack
  // keeps its size, which is what the model does.
  void EndFormatting(GumboTag n) {
    // The parser repeats its steps up to eight times: a moved element is met again and, with
    // no special element above it any more, closes.
    for (int round = 0; round < 8; ++round) {
      const std::size_t entry = LastFormatting(n);
      if (entry == kNone) {
        if (round == 0) AnyOtherEndTag(n, {});
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

  std::size_t InScope(GumboTag n, std::uint32_t limit, GumboTag extra1 = kNoTag,
                      GumboTag extra2 = kNoTag) const {
    if (Count(n) == 0) return kNone;
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const GumboTag at = stack_[k].tag;
      if (at == n && !stack_[k].foreign) return k;  // an SVG <title> is no HTML <title>
      if ((stack_[k].traits & limit) || at == extra1 || at == extra2 || at == GUMBO_TAG_HTML) {
        return kNone;
      }
    }
    return kNone;
  }

  std::size_t InTableScope(GumboTag n) const {
    if (Count(n) == 0) return kNone;
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const GumboTag at = stack_[k].tag;
      if (!stack_[k].foreign && (at == n || (IsCell(n) && IsCell(at)))) return k;
      if (at == GUMBO_TAG_TABLE || at == GUMBO_TAG_TEMPLATE || at == GUMBO_TAG_HTML) return kNone;
    }
    return kNone;
  }

  void ClosePInButtonScope() {
    const std::size_t k = InScope(GUMBO_TAG_P, kScopeLimit, GUMBO_TAG_BUTTON);
    if (k != kNone) PopThrough(k);
  }

  // A new <li> (<dd>, <dt>) closes the open one of its kind unless a special element other
  // than address, div and p lies between.
  void CloseListItem(GumboTag n) {
    for (std::size_t k = stack_.size(); k-- > 0;) {
      const GumboTag at = stack_[k].tag;
      const bool same =
          !stack_[k].foreign &&
          (n == GUMBO_TAG_LI ? at == GUMBO_TAG_LI : (at == GUMBO_TAG_DD || at == GUMBO_TAG_DT));
      if (same) {
        PopThrough(k);
        return;
      }
      if ((stack_[k].traits & kSpecial) && at != GUMBO_TAG_ADDRESS && at != GUMBO_TAG_DIV &&
          at != GUMBO_TAG_P) {
        return;
      }
    }
  }

  bool Push(GumboTag n, std::string_view name, std::uint32_t traits, bool foreign, bool svg = false,
            std::uint64_t listId = 0, bool htmlEncoding = false) {
    if (foreign && !stack_.empty() && stack_.back().foreign && n != GUMBO_TAG_SVG &&
        n != GUMBO_TAG_MATH) {
      svg = stack_.back().svg;
    }
    const bool integration = foreign && IsIntegrationPoint(n, svg, htmlEncoding);
    Open open{n,
              name,
              traits,
              foreign,
              svg,
              !foreign || integration,
              foreign && (!integration || n == GUMBO_TAG_ANNOTATION_XML),
              formatting_.size(),
              listId,
              kNoRename};
    // Every annotation-xml bounds scopes and stops end tags, whatever its encoding.
    if (foreign) open.traits = IsIntegrationPoint(n, svg, true) ? (kSpecial | kScopeLimit) : 0;
    if (open.traits & kMarker) formatting_.push_back({kNoTag, {}, 0, false});
    stack_.push_back(open);
    ++openCount_[n];
    return Depth() <= limits_.maxDepth;
  }

  void Pop() {
    const Open& top = stack_.back();
    --openCount_[top.tag];
    if (top.renameAt != kNoRename) --confusableOpen_;
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
  // A marker has no tag (kNoTag).
  struct Formatting {
    GumboTag tag;
    std::string attributes;
    std::uint64_t id;
    bool open;  // its element is on the stack

    bool IsMarker() const { return tag == kNoTag; }
  };

  // Adds an entry and returns its id. As in the parser, a fourth element alike in tag and
  // attributes since the last marker pushes the earliest of the three out of the list.
  std::uint64_t AddFormatting(GumboTag tag, const std::string& attributes) {
    int alike = 0;
    for (std::size_t k = formatting_.size(); k-- > 0 && !formatting_[k].IsMarker();) {
      if (formatting_[k].tag == tag && formatting_[k].attributes == attributes && ++alike == 3) {
        RemoveFormatting(k);
        break;
      }
    }
    formatting_.push_back({tag, attributes, ++lastId_, true});
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
    while (k > 0 && !formatting_[k - 1].IsMarker() && !formatting_[k - 1].open) --k;
    for (; k < formatting_.size(); ++k) {
      Formatting& entry = formatting_[k];
      entry.open = true;
      if (!Push(entry.tag, {}, TraitsOf(entry.tag), false, false, entry.id)) return false;
    }
    return true;
  }

  std::size_t LastFormatting(GumboTag tag) const {
    for (std::size_t k = formatting_.size(); k-- > 0 && !formatting_[k].IsMarker();) {
      if (formatting_[k].tag == tag) return k;
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
  std::size_t SkipRawText(std::size_t i, GumboTag tag) const {
    while (true) {
      i = s_.find("</", i);
      if (i == std::string_view::npos) return s_.size();
      std::size_t k = i + 2;
      while (k < s_.size() && IsAlpha(s_[k])) ++k;
      if (TagOfName(s_.substr(i + 2, k - i - 2)) == tag) return i;
      i += 2;
    }
  }

  std::string_view s_;
  MarkupLimits limits_;
  std::vector<Open> stack_;
  std::array<int, GUMBO_TAG_LAST + 1> openCount_{};
  std::vector<Formatting> formatting_;
  std::uint64_t lastId_ = 0;
  std::size_t items_ = 0;
  std::size_t work_ = 0;
  bool formPointer_ = false;
  bool firstTokenSeen_ = false;
  DocumentMode mode_ = DocumentMode::Quirks;
  std::vector<Edit> edits_;         // in page order
  std::size_t confusableOpen_ = 0;  // open elements with a pending rename
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
