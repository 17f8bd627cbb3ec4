// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html_tag_traits.hpp"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

#include "core/ascii.hpp"

namespace langxing::html {

using namespace ascii;  // the markup's character classes and case rules

namespace {

constexpr std::size_t kTagCount = static_cast<std::size_t>(GUMBO_TAG_LAST) + 1;

using TraitTable = std::array<std::uint32_t, kTagCount>;

constexpr void Add(TraitTable& table, std::initializer_list<GumboTag> tags, std::uint32_t trait) {
  for (const GumboTag tag : tags) table[tag] |= trait;
}

constexpr TraitTable MakeTraitTable() {
  TraitTable t{};
  // The tree builder.
  Add(t,
      {GUMBO_TAG_AREA, GUMBO_TAG_BASE, GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND, GUMBO_TAG_BR,
       GUMBO_TAG_COL, GUMBO_TAG_EMBED, GUMBO_TAG_FRAME, GUMBO_TAG_HR, GUMBO_TAG_IMAGE,
       GUMBO_TAG_IMG, GUMBO_TAG_INPUT, GUMBO_TAG_KEYGEN, GUMBO_TAG_LINK, GUMBO_TAG_META,
       GUMBO_TAG_PARAM, GUMBO_TAG_SOURCE, GUMBO_TAG_TRACK, GUMBO_TAG_WBR},
      kVoid);
  Add(t,
      {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_XMP, GUMBO_TAG_IFRAME, GUMBO_TAG_NOEMBED,
       GUMBO_TAG_NOFRAMES, GUMBO_TAG_TEXTAREA, GUMBO_TAG_TITLE, GUMBO_TAG_PLAINTEXT},
      kRawText);
  Add(t,
      {GUMBO_TAG_A, GUMBO_TAG_B, GUMBO_TAG_BIG, GUMBO_TAG_CODE, GUMBO_TAG_EM, GUMBO_TAG_FONT,
       GUMBO_TAG_I, GUMBO_TAG_NOBR, GUMBO_TAG_S, GUMBO_TAG_SMALL, GUMBO_TAG_STRIKE,
       GUMBO_TAG_STRONG, GUMBO_TAG_TT, GUMBO_TAG_U},
      kFormatting);
  Add(t,
      {GUMBO_TAG_ADDRESS,
       GUMBO_TAG_APPLET,
       GUMBO_TAG_AREA,
       GUMBO_TAG_ARTICLE,
       GUMBO_TAG_ASIDE,
       GUMBO_TAG_BASE,
       GUMBO_TAG_BASEFONT,
       GUMBO_TAG_BGSOUND,
       GUMBO_TAG_BLOCKQUOTE,
       GUMBO_TAG_BODY,
       GUMBO_TAG_BR,
       GUMBO_TAG_BUTTON,
       GUMBO_TAG_CAPTION,
       GUMBO_TAG_CENTER,
       GUMBO_TAG_COL,
       GUMBO_TAG_COLGROUP,
       GUMBO_TAG_DD,
       GUMBO_TAG_DETAILS,
       GUMBO_TAG_DIR,
       GUMBO_TAG_DIV,
       GUMBO_TAG_DL,
       GUMBO_TAG_DT,
       GUMBO_TAG_EMBED,
       GUMBO_TAG_FIELDSET,
       GUMBO_TAG_FIGCAPTION,
       GUMBO_TAG_FIGURE,
       GUMBO_TAG_FOOTER,
       GUMBO_TAG_FORM,
       GUMBO_TAG_FRAME,
       GUMBO_TAG_FRAMESET,
       GUMBO_TAG_H1,
       GUMBO_TAG_H2,
       GUMBO_TAG_H3,
       GUMBO_TAG_H4,
       GUMBO_TAG_H5,
       GUMBO_TAG_H6,
       GUMBO_TAG_HEAD,
       GUMBO_TAG_HEADER,
       GUMBO_TAG_HGROUP,
       GUMBO_TAG_HR,
       GUMBO_TAG_HTML,
       GUMBO_TAG_IFRAME,
       GUMBO_TAG_IMG,
       GUMBO_TAG_INPUT,
       GUMBO_TAG_KEYGEN,
       GUMBO_TAG_LI,
       GUMBO_TAG_LINK,
       GUMBO_TAG_LISTING,
       GUMBO_TAG_MAIN,
       GUMBO_TAG_MARQUEE,
       GUMBO_TAG_MENU,
       GUMBO_TAG_META,
       GUMBO_TAG_NAV,
       GUMBO_TAG_NOEMBED,
       GUMBO_TAG_NOFRAMES,
       GUMBO_TAG_NOSCRIPT,
       GUMBO_TAG_OBJECT,
       GUMBO_TAG_OL,
       GUMBO_TAG_P,
       GUMBO_TAG_PARAM,
       GUMBO_TAG_PLAINTEXT,
       GUMBO_TAG_PRE,
       GUMBO_TAG_SCRIPT,
       GUMBO_TAG_SECTION,
       GUMBO_TAG_SELECT,
       GUMBO_TAG_SOURCE,
       GUMBO_TAG_STYLE,
       GUMBO_TAG_SUMMARY,
       GUMBO_TAG_TABLE,
       GUMBO_TAG_TBODY,
       GUMBO_TAG_TD,
       GUMBO_TAG_TEMPLATE,
       GUMBO_TAG_TEXTAREA,
       GUMBO_TAG_TFOOT,
       GUMBO_TAG_TH,
       GUMBO_TAG_THEAD,
       GUMBO_TAG_TITLE,
       GUMBO_TAG_TR,
       GUMBO_TAG_TRACK,
       GUMBO_TAG_UL,
       GUMBO_TAG_WBR,
       GUMBO_TAG_XMP,
       GUMBO_TAG_MI,
       GUMBO_TAG_MO,
       GUMBO_TAG_MN,
       GUMBO_TAG_MS,
       GUMBO_TAG_MTEXT,
       GUMBO_TAG_ANNOTATION_XML,
       GUMBO_TAG_FOREIGNOBJECT,
       GUMBO_TAG_DESC},
      kSpecial);
  Add(t,
      {GUMBO_TAG_APPLET, GUMBO_TAG_CAPTION, GUMBO_TAG_HTML, GUMBO_TAG_TABLE, GUMBO_TAG_TD,
       GUMBO_TAG_TH, GUMBO_TAG_MARQUEE, GUMBO_TAG_OBJECT, GUMBO_TAG_TEMPLATE, GUMBO_TAG_MI,
       GUMBO_TAG_MO, GUMBO_TAG_MN, GUMBO_TAG_MS, GUMBO_TAG_MTEXT, GUMBO_TAG_ANNOTATION_XML,
       GUMBO_TAG_FOREIGNOBJECT, GUMBO_TAG_DESC, GUMBO_TAG_TITLE},
      kScopeLimit);
  Add(t,
      {GUMBO_TAG_APPLET, GUMBO_TAG_OBJECT, GUMBO_TAG_MARQUEE, GUMBO_TAG_TEMPLATE, GUMBO_TAG_TD,
       GUMBO_TAG_TH, GUMBO_TAG_CAPTION},
      kMarker);
  Add(t, {GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE,  GUMBO_TAG_ASIDE,      GUMBO_TAG_BLOCKQUOTE,
          GUMBO_TAG_CENTER,  GUMBO_TAG_DETAILS,  GUMBO_TAG_DIR,        GUMBO_TAG_DIV,
          GUMBO_TAG_DL,      GUMBO_TAG_FIELDSET, GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE,
          GUMBO_TAG_FOOTER,  GUMBO_TAG_HEADER,   GUMBO_TAG_HGROUP,     GUMBO_TAG_MAIN,
          GUMBO_TAG_MENU,    GUMBO_TAG_NAV,      GUMBO_TAG_OL,         GUMBO_TAG_P,
          GUMBO_TAG_SECTION, GUMBO_TAG_SUMMARY,  GUMBO_TAG_UL,         GUMBO_TAG_H1,
          GUMBO_TAG_H2,      GUMBO_TAG_H3,       GUMBO_TAG_H4,         GUMBO_TAG_H5,
          GUMBO_TAG_H6,      GUMBO_TAG_PRE,      GUMBO_TAG_LISTING,    GUMBO_TAG_FORM,
          GUMBO_TAG_LI,      GUMBO_TAG_DD,       GUMBO_TAG_DT,         GUMBO_TAG_PLAINTEXT,
          GUMBO_TAG_HR,      GUMBO_TAG_XMP},
      kClosesP);
  Add(t,
      {GUMBO_TAG_TABLE, GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT, GUMBO_TAG_TR,
       GUMBO_TAG_TD, GUMBO_TAG_TH, GUMBO_TAG_CAPTION, GUMBO_TAG_COLGROUP, GUMBO_TAG_COL},
      kTablePart);
  Add(t,
      {GUMBO_TAG_B,      GUMBO_TAG_BIG,    GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_BODY,  GUMBO_TAG_BR,
       GUMBO_TAG_CENTER, GUMBO_TAG_CODE,   GUMBO_TAG_DD,         GUMBO_TAG_DIV,   GUMBO_TAG_DL,
       GUMBO_TAG_DT,     GUMBO_TAG_EM,     GUMBO_TAG_EMBED,      GUMBO_TAG_H1,    GUMBO_TAG_H2,
       GUMBO_TAG_H3,     GUMBO_TAG_H4,     GUMBO_TAG_H5,         GUMBO_TAG_H6,    GUMBO_TAG_HEAD,
       GUMBO_TAG_HR,     GUMBO_TAG_I,      GUMBO_TAG_IMG,        GUMBO_TAG_LI,    GUMBO_TAG_LISTING,
       GUMBO_TAG_MENU,   GUMBO_TAG_META,   GUMBO_TAG_NOBR,       GUMBO_TAG_OL,    GUMBO_TAG_P,
       GUMBO_TAG_PRE,    GUMBO_TAG_RUBY,   GUMBO_TAG_S,          GUMBO_TAG_SMALL, GUMBO_TAG_SPAN,
       GUMBO_TAG_STRONG, GUMBO_TAG_STRIKE, GUMBO_TAG_SUB,        GUMBO_TAG_SUP,   GUMBO_TAG_TABLE,
       GUMBO_TAG_TT,     GUMBO_TAG_U,      GUMBO_TAG_UL,         GUMBO_TAG_VAR},
      kBreaksOut);
  // The writers.
  Add(t,
      {GUMBO_TAG_AREA, GUMBO_TAG_BASE, GUMBO_TAG_BR, GUMBO_TAG_COL, GUMBO_TAG_EMBED, GUMBO_TAG_HR,
       GUMBO_TAG_IMG, GUMBO_TAG_INPUT, GUMBO_TAG_LINK, GUMBO_TAG_META, GUMBO_TAG_PARAM,
       GUMBO_TAG_SOURCE, GUMBO_TAG_TRACK, GUMBO_TAG_WBR, GUMBO_TAG_BGSOUND, GUMBO_TAG_FRAME,
       GUMBO_TAG_KEYGEN},
      kNoEndTag);
  Add(t, {GUMBO_TAG_P,     GUMBO_TAG_DIV,     GUMBO_TAG_TABLE,      GUMBO_TAG_THEAD,
          GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT,   GUMBO_TAG_TR,         GUMBO_TAG_TD,
          GUMBO_TAG_TH,    GUMBO_TAG_CAPTION, GUMBO_TAG_COLGROUP,   GUMBO_TAG_COL,
          GUMBO_TAG_UL,    GUMBO_TAG_OL,      GUMBO_TAG_LI,         GUMBO_TAG_DL,
          GUMBO_TAG_DT,    GUMBO_TAG_DD,      GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_CENTER,
          GUMBO_TAG_H1,    GUMBO_TAG_H2,      GUMBO_TAG_H3,         GUMBO_TAG_H4,
          GUMBO_TAG_H5,    GUMBO_TAG_H6,      GUMBO_TAG_FORM,       GUMBO_TAG_HR,
          GUMBO_TAG_PRE,   GUMBO_TAG_ADDRESS},
      kBlock);
  Add(t,
      {GUMBO_TAG_TABLE, GUMBO_TAG_THEAD, GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT, GUMBO_TAG_TR,
       GUMBO_TAG_COLGROUP},
      kTableStructure);
  // The parser read the text of these as raw text, so escaping it would change what it says.
  Add(t,
      {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_XMP, GUMBO_TAG_IFRAME, GUMBO_TAG_NOEMBED,
       GUMBO_TAG_NOFRAMES, GUMBO_TAG_PLAINTEXT},
      kWrittenRaw | kKeepsWhiteSpace);
  Add(t, {GUMBO_TAG_PRE, GUMBO_TAG_TEXTAREA}, kKeepsWhiteSpace);
  // A frame's fallback text and a template's content are never shown either.
  Add(t,
      {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_TEMPLATE, GUMBO_TAG_IFRAME, GUMBO_TAG_NOEMBED,
       GUMBO_TAG_NOFRAMES},
      kNoVisibleText);
  Add(t,
      {GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE, GUMBO_TAG_NOSCRIPT, GUMBO_TAG_TEMPLATE, GUMBO_TAG_LINK,
       GUMBO_TAG_META, GUMBO_TAG_BASE, GUMBO_TAG_IFRAME, GUMBO_TAG_FRAME, GUMBO_TAG_FRAMESET,
       GUMBO_TAG_OBJECT, GUMBO_TAG_EMBED, GUMBO_TAG_APPLET, GUMBO_TAG_FORM, GUMBO_TAG_INPUT,
       GUMBO_TAG_BUTTON, GUMBO_TAG_SELECT, GUMBO_TAG_TEXTAREA},
      kNotContent);
  t[GUMBO_TAG_UNKNOWN] = 0;
  return t;
}

constexpr TraitTable kTraits = MakeTraitTable();

std::size_t IndexOf(GumboTag tag) {
  const auto index = static_cast<std::size_t>(tag);
  return index < kTagCount ? index : static_cast<std::size_t>(GUMBO_TAG_UNKNOWN);
}

}  // namespace

std::uint32_t TraitsOf(GumboTag tag) { return kTraits[IndexOf(tag)]; }

std::string_view UpperNameOf(GumboTag tag) {
  static const auto names = [] {
    std::array<std::string, kTagCount> all;
    for (std::size_t t = 0; t < static_cast<std::size_t>(GUMBO_TAG_UNKNOWN); ++t) {
      for (const char* c = gumbo_normalized_tagname(static_cast<GumboTag>(t)); *c != '\0'; ++c) {
        all[t].push_back(Upper(*c));
      }
    }
    return all;
  }();
  return names[IndexOf(tag)];
}

}  // namespace langxing::html
