// SPDX-License-Identifier: GPL-3.0-or-later
// The document mode a doctype sets, by the HTML standard's tokenizer states for doctypes and
// its list of public identifiers. The parser library's own table matches prefixes as whole
// identifiers, so it takes many old pages for standards pages.
#include "core/html_doctype.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/ascii.hpp"

namespace langxing::html {

using namespace ascii;  // the markup's character classes and case rules

namespace {

constexpr auto kQuirksPublicPrefixes = std::to_array<std::string_view>({
    "+//Silmaril//dtd html Pro v0r11 19970101//",
    "-//AS//DTD HTML 3.0 asWedit + extensions//",
    "-//AdvaSoft Ltd//DTD HTML 3.0 asWedit + extensions//",
    "-//IETF//DTD HTML 2.0 Level 1//",
    "-//IETF//DTD HTML 2.0 Level 2//",
    "-//IETF//DTD HTML 2.0 Strict Level 1//",
    "-//IETF//DTD HTML 2.0 Strict Level 2//",
    "-//IETF//DTD HTML 2.0 Strict//",
    "-//IETF//DTD HTML 2.0//",
    "-//IETF//DTD HTML 2.1E//",
    "-//IETF//DTD HTML 3.0//",
    "-//IETF//DTD HTML 3.2 Final//",
    "-//IETF//DTD HTML 3.2//",
    "-//IETF//DTD HTML 3//",
    "-//IETF//DTD HTML Level 0//",
    "-//IETF//DTD HTML Level 1//",
    "-//IETF//DTD HTML Level 2//",
    "-//IETF//DTD HTML Level 3//",
    "-//IETF//DTD HTML Strict Level 0//",
    "-//IETF//DTD HTML Strict Level 1//",
    "-//IETF//DTD HTML Strict Level 2//",
    "-//IETF//DTD HTML Strict Level 3//",
    "-//IETF//DTD HTML Strict//",
    "-//IETF//DTD HTML//",
    "-//Metrius//DTD Metrius Presentational//",
    "-//Microsoft//DTD Internet Explorer 2.0 HTML Strict//",
    "-//Microsoft//DTD Internet Explorer 2.0 HTML//",
    "-//Microsoft//DTD Internet Explorer 2.0 Tables//",
    "-//Microsoft//DTD Internet Explorer 3.0 HTML Strict//",
    "-//Microsoft//DTD Internet Explorer 3.0 HTML//",
    "-//Microsoft//DTD Internet Explorer 3.0 Tables//",
    "-//Netscape Comm. Corp.//DTD HTML//",
    "-//Netscape Comm. Corp.//DTD Strict HTML//",
    "-//O'Reilly and Associates//DTD HTML 2.0//",
    "-//O'Reilly and Associates//DTD HTML Extended 1.0//",
    "-//O'Reilly and Associates//DTD HTML Extended Relaxed 1.0//",
    "-//SQ//DTD HTML 2.0 HoTMetaL + extensions//",
    "-//SoftQuad Software//DTD HoTMetaL PRO 6.0::19990601::extensions to HTML 4.0//",
    "-//SoftQuad//DTD HoTMetaL PRO 4.0::19971010::extensions to HTML 4.0//",
    "-//Spyglass//DTD HTML 2.0 Extended//",
    "-//Sun Microsystems Corp.//DTD HotJava HTML//",
    "-//Sun Microsystems Corp.//DTD HotJava Strict HTML//",
    "-//W3C//DTD HTML 3 1995-03-24//",
    "-//W3C//DTD HTML 3.2 Draft//",
    "-//W3C//DTD HTML 3.2 Final//",
    "-//W3C//DTD HTML 3.2//",
    "-//W3C//DTD HTML 3.2S Draft//",
    "-//W3C//DTD HTML 4.0 Frameset//",
    "-//W3C//DTD HTML 4.0 Transitional//",
    "-//W3C//DTD HTML Experimental 19960712//",
    "-//W3C//DTD HTML Experimental 970421//",
    "-//W3C//DTD W3 HTML//",
    "-//W3O//DTD W3 HTML 3.0//",
    "-//WebTechs//DTD Mozilla HTML 2.0//",
    "-//WebTechs//DTD Mozilla HTML//",
});

constexpr auto kQuirksPublicIds = std::to_array<std::string_view>(
    {"-//W3O//DTD W3 HTML Strict 3.0//EN//", "-/W3C/DTD HTML 4.0 Transitional/EN", "HTML"});

// Quirks without a system identifier, limited quirks with one.
constexpr auto kHtml401Prefixes = std::to_array<std::string_view>(
    {"-//W3C//DTD HTML 4.01 Frameset//", "-//W3C//DTD HTML 4.01 Transitional//"});

constexpr auto kLimitedQuirksPrefixes = std::to_array<std::string_view>(
    {"-//W3C//DTD XHTML 1.0 Frameset//", "-//W3C//DTD XHTML 1.0 Transitional//"});

template <std::size_t N>
bool StartsWithAny(std::string_view id, const std::array<std::string_view, N>& prefixes) {
  for (const auto prefix : prefixes) {
    if (StartsWithIgnoringCase(id, prefix)) return true;
  }
  return false;
}

struct Doctype {
  std::string name;
  std::optional<std::string> publicId;
  std::optional<std::string> systemId;
  bool forceQuirks = false;
};

// Reads `<!DOCTYPE ...>` by the tokenizer's doctype states. `s` starts at "<!".
Doctype ReadDoctype(std::string_view s) {
  Doctype d;
  std::size_t i = 9;  // past "<!DOCTYPE"
  auto skipSpace = [&] {
    while (i < s.size() && IsSpace(s[i])) ++i;
  };
  auto atEnd = [&] { return i >= s.size() || s[i] == '>'; };
  // A quoted identifier; a '>' or the end of input inside it forces quirks mode.
  auto readQuoted = [&](std::optional<std::string>& id) {
    const char quote = s[i++];
    id.emplace();
    while (i < s.size() && s[i] != quote && s[i] != '>') id->push_back(s[i++]);
    if (i >= s.size() || s[i] == '>') {
      d.forceQuirks = true;
      return false;
    }
    ++i;
    return true;
  };
  skipSpace();
  if (atEnd()) {
    d.forceQuirks = true;
    return d;
  }
  while (i < s.size() && !IsSpace(s[i]) && s[i] != '>') d.name.push_back(Lower(s[i++]));
  skipSpace();
  if (i >= s.size()) {
    d.forceQuirks = true;
    return d;
  }
  if (s[i] == '>') return d;
  const std::string_view keyword = s.substr(i, 6);
  const bool isPublic = EqualsIgnoringCase(keyword, "public");
  if (!isPublic && !EqualsIgnoringCase(keyword, "system")) {
    d.forceQuirks = true;  // a bogus doctype
    return d;
  }
  i += 6;
  skipSpace();
  if (atEnd() || (s[i] != '"' && s[i] != '\'')) {
    d.forceQuirks = true;
    return d;
  }
  if (!readQuoted(isPublic ? d.publicId : d.systemId)) return d;
  if (!isPublic) return d;  // anything after the system identifier is bogus, not quirks
  skipSpace();
  if (i >= s.size()) {
    d.forceQuirks = true;
    return d;
  }
  if (s[i] == '>') return d;
  if (s[i] != '"' && s[i] != '\'') {
    d.forceQuirks = true;
    return d;
  }
  readQuoted(d.systemId);
  return d;
}

}  // namespace

DocumentMode ModeOfDoctype(std::string_view token) {
  const Doctype d = ReadDoctype(token);
  const std::string publicId = d.publicId.value_or("");
  const bool hasSystemId = d.systemId.has_value();
  if (d.forceQuirks || d.name != "html") return DocumentMode::Quirks;
  for (const auto id : kQuirksPublicIds) {
    if (EqualsIgnoringCase(publicId, id)) return DocumentMode::Quirks;
  }
  if (hasSystemId &&
      EqualsIgnoringCase(*d.systemId,
                         "http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd")) {
    return DocumentMode::Quirks;
  }
  if (StartsWithAny(publicId, kQuirksPublicPrefixes)) return DocumentMode::Quirks;
  if (StartsWithAny(publicId, kHtml401Prefixes)) {
    return hasSystemId ? DocumentMode::LimitedQuirks : DocumentMode::Quirks;
  }
  if (StartsWithAny(publicId, kLimitedQuirksPrefixes)) return DocumentMode::LimitedQuirks;
  return DocumentMode::NoQuirks;
}

}  // namespace langxing::html
