// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/html_attributes.hpp"

#include <algorithm>
#include <array>

#include "core/ascii.hpp"

namespace langxing::html {

using namespace ascii;  // the markup's character classes and case rules

namespace {

// Attribute names defined by HTML (and the old browser extensions the portal's pages use), in
// lower case. Names outside this table are custom attributes and keep their source spelling.
// clang-format off
constexpr auto kHtmlAttributes = std::to_array<std::string_view>({
    "abbr", "accept", "accept-charset", "accesskey", "action", "align", "alink", "allow",
    "allowfullscreen", "allowtransparency", "alt", "archive", "async", "autocomplete", "autofocus",
    "autoplay", "axis", "background", "behavior", "bgcolor", "bgproperties", "border",
    "bordercolor", "bordercolordark", "bordercolorlight", "bottommargin", "cellpadding",
    "cellspacing", "char", "charoff", "charset", "checked", "cite", "class", "classid", "clear",
    "code", "codebase", "codetype", "color", "cols", "colspan", "compact", "content",
    "contenteditable", "controls", "coords", "data", "datetime", "declare", "default", "defer",
    "dir", "direction", "dirname", "disabled", "download", "draggable", "enctype", "event", "face",
    "for", "form", "formaction", "frame", "frameborder", "framespacing", "headers", "height",
    "hidden", "high", "href", "hreflang", "hspace", "http-equiv", "id", "ismap", "kind", "label",
    "lang", "language", "leftmargin", "link", "list", "longdesc", "loop", "low", "marginheight",
    "marginwidth", "max", "maxlength", "media", "method", "min", "multiple", "muted", "name",
    "nohref", "noresize", "noshade", "novalidate", "nowrap", "object", "onabort", "onbeforeunload",
    "onblur", "onchange", "onclick", "oncontextmenu", "ondblclick", "onerror", "onfocus",
    "oninput", "onkeydown", "onkeypress", "onkeyup", "onload", "onmousedown", "onmouseenter",
    "onmouseleave", "onmousemove", "onmouseout", "onmouseover", "onmouseup", "onreset", "onresize",
    "onscroll", "onselect", "onsubmit", "onunload", "open", "optimum", "pattern", "placeholder",
    "poster", "preload", "profile", "readonly", "rel", "required", "rev", "reversed",
    "rightmargin", "rows", "rowspan", "rules", "scheme", "scope", "scrollamount", "scrolldelay",
    "scrolling", "selected", "shape", "size", "sizes", "span", "spellcheck", "src", "srcdoc",
    "srclang", "srcset", "standby", "start", "step", "style", "summary", "tabindex", "target",
    "text", "title", "topmargin", "type", "usemap", "valign", "value", "valuetype", "version",
    "vlink", "vspace", "width", "wrap",
});
// clang-format on

struct PropertySpelling {
  std::string_view lower;
  std::string_view spelled;
};

// Attributes written with their DOM property spelling. vLink and aLink are spelled like the
// other colour attributes of the body.
constexpr auto kPropertySpellings = std::to_array<PropertySpelling>({
    {"bgcolor", "bgColor"},
    {"cellspacing", "cellSpacing"},
    {"cellpadding", "cellPadding"},
    {"valign", "vAlign"},
    {"nowrap", "noWrap"},
    {"colspan", "colSpan"},
    {"rowspan", "rowSpan"},
    {"leftmargin", "leftMargin"},
    {"topmargin", "topMargin"},
    {"rightmargin", "rightMargin"},
    {"bottommargin", "bottomMargin"},
    {"frameborder", "frameBorder"},
    {"framespacing", "frameSpacing"},
    {"noresize", "noResize"},
    {"codebase", "codeBase"},
    {"maxlength", "maxLength"},
    {"bordercolor", "borderColor"},
    {"bordercolorlight", "borderColorLight"},
    {"bordercolordark", "borderColorDark"},
    {"tabindex", "tabIndex"},
    {"accesskey", "accessKey"},
    {"readonly", "readOnly"},
    {"usemap", "useMap"},
    {"ismap", "isMap"},
    {"longdesc", "longDesc"},
    {"datetime", "dateTime"},
    {"noshade", "noShade"},
    {"nohref", "noHref"},
    {"marginwidth", "marginWidth"},
    {"marginheight", "marginHeight"},
    {"allowtransparency", "allowTransparency"},
    {"vlink", "vLink"},
    {"alink", "aLink"},
});

constexpr auto kColourAttributes = std::to_array<std::string_view>(
    {"bgcolor", "color", "text", "link", "vlink", "alink", "bordercolor"});

// The attributes written first, in this order.
constexpr auto kLeadingAttributes =
    std::to_array<std::string_view>({"style", "id", "class", "name", "href", "src"});

template <std::size_t N>
bool OneOf(std::string_view name, const std::array<std::string_view, N>& table) {
  return std::find(table.begin(), table.end(), name) != table.end();
}

bool IsHtmlAttribute(std::string_view lowerName) { return OneOf(lowerName, kHtmlAttributes); }

std::string_view WrittenName(const SourceAttribute& attribute, bool custom) {
  if (custom) return attribute.originalName.empty() ? attribute.name : attribute.originalName;
  for (const auto& entry : kPropertySpellings) {
    if (entry.lower == attribute.name) return entry.spelled;
  }
  return attribute.name;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return true;
  return std::any_of(value.begin(), value.end(), [](char c) {
    return IsSpace(c) || c == '%' || c == '"' || c == '\'' || c == '=' || c == '<' || c == '>' ||
           c == '`' || c == '&';
  });
}

void AppendEscapedValue(std::string& out, std::string_view value) {
  for (const char c : value) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '"') {
      out += "&quot;";
    } else {
      out.push_back(c);
    }
  }
}

bool IsHexColour(std::string_view value) {
  return value.size() == 7 && value[0] == '#' &&
         std::all_of(value.begin() + 1, value.end(), [](char c) { return IsHexDigit(c); });
}

void AppendAttribute(std::string& out, const SourceAttribute& attribute, bool custom) {
  out.push_back(' ');
  out += WrittenName(attribute, custom);
  if (!attribute.hasValue) return;  // a bare boolean attribute stays bare
  std::string value;
  bool alwaysQuoted = custom;
  if (!custom && attribute.name == "style") {
    value = RebuildStyle(attribute.value);
    alwaysQuoted = true;
  } else {
    value = std::string(attribute.value);
    if (!custom && OneOf(attribute.name, kColourAttributes) && IsHexColour(value)) {
      for (char& c : value) c = Lower(c);
    }
    alwaysQuoted =
        alwaysQuoted || (!custom && (attribute.name == "href" || attribute.name == "src"));
  }
  out.push_back('=');
  if (alwaysQuoted || NeedsQuotes(value)) {
    out.push_back('"');
    AppendEscapedValue(out, value);
    out.push_back('"');
  } else {
    out += value;
  }
}

// Splits a style text at the semicolons that separate declarations; a semicolon inside quotes or
// parentheses (a url(data:...;base64,...) value) belongs to its value.
std::vector<std::string_view> SplitDeclarations(std::string_view style) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  int depth = 0;
  char quote = 0;
  for (std::size_t i = 0; i < style.size(); ++i) {
    const char c = style[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth > 0) --depth;
    } else if (c == ';' && depth == 0) {
      parts.push_back(style.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(style.substr(start));
  return parts;
}

}  // namespace

std::string RebuildStyle(std::string_view style) {
  std::string out;
  for (const std::string_view declaration : SplitDeclarations(style)) {
    const std::size_t colon = declaration.find(':');
    // A declaration without a name or a value is dropped, as a CSS parser drops it.
    if (colon == std::string_view::npos) continue;
    const std::string_view name = Trim(declaration.substr(0, colon));
    const std::string_view value = Trim(declaration.substr(colon + 1));
    if (name.empty() || value.empty()) continue;
    if (!out.empty()) out += "; ";
    for (const char c : name) out.push_back(Upper(c));
    out += ": ";
    out += value;
  }
  return out;
}

void AppendAttributes(std::string& out, const std::vector<SourceAttribute>& attributes) {
  for (const std::string_view leading : kLeadingAttributes) {
    for (const auto& attribute : attributes) {
      if (attribute.name == leading) AppendAttribute(out, attribute, false);
    }
  }
  for (const auto& attribute : attributes) {
    if (!OneOf(attribute.name, kLeadingAttributes) && IsHtmlAttribute(attribute.name)) {
      AppendAttribute(out, attribute, false);
    }
  }
  for (const auto& attribute : attributes) {
    if (!IsHtmlAttribute(attribute.name)) AppendAttribute(out, attribute, true);
  }
}

}  // namespace langxing::html
