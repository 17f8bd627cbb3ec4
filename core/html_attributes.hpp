// SPDX-License-Identifier: GPL-3.0-or-later
// How the hidden views write an element's attributes back out: DOM property spelling, a fixed
// order, minimal quoting, lower-case colours and a rebuilt style text. Works on UTF-8 as gumbo
// hands it out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace langxing::html {

struct SourceAttribute {
  std::string_view name;          // lower-cased by the parser
  std::string_view originalName;  // as written in the source
  std::string_view value;         // character references already decoded
  bool hasValue;                  // false for a bare name such as `nowrap`
};

// Appends ` name=value` for each attribute, in the serialised order, to `out`.
void AppendAttributes(std::string& out, const std::vector<SourceAttribute>& attributes);

// The declarations of a style text rebuilt as `NAME: value; NAME: value`.
std::string RebuildStyle(std::string_view style);

}  // namespace langxing::html
