// SPDX-License-Identifier: GPL-3.0-or-later
// Bounds on the work a page may ask of the HTML parser, applied before it runs. The tree
// builder walks its stack of open elements and its list of formatting elements for most
// tags, and checks every attribute of an element against the ones before it, so deep trees,
// huge pages of tags and elements with thousands of attributes make a parse take minutes.
// Browsers cap the same things (the depth of the tree they build, the size of a page's
// DOM); no real page comes near the limits below.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/html_doctype.hpp"

namespace langxing::html {

struct MarkupLimits {
  // Bytes of markup (UTF-8) handed to the parser; the rest of a longer page is left out. The
  // parser reads text at some 10 to 20 MB/s, and the hidden views load listing pages and the
  // announcement page, a few hundred kilobytes each.
  std::size_t maxBytes = 8u * 1024u * 1024u;
  // Elements the parser may keep open at once, counting the formatting elements it may
  // reopen by itself. The page is cut before the first tag that would go deeper.
  std::size_t maxDepth = 1000;
  // Tags, comments and attributes in all; the page is cut where they run out.
  std::size_t maxItems = 1'000'000;
  // The tree builder looks through its stack for most tags, so a tag costs about as much as
  // the elements open around it. The sum of that over all tags is bounded too.
  std::size_t maxWork = 100'000'000;
  // Attributes of one element past this many are left out (the element itself is kept).
  std::size_t maxAttributesPerElement = 100;
};

// The markup the parser is given: the page itself, or a rewritten copy of it.
struct PreparedMarkup {
  std::string_view text;
  std::string storage;  // holds the copy when `text` is not the page
  bool cut = false;     // the end of the page was left out
  DocumentMode mode = DocumentMode::Quirks;
};

// Reads the page as the HTML tokenizer does (tags, quoted attribute values, comments, bogus
// comments, raw text) and follows, on an upper bound of the parser's stack, the tree
// builder's rules for which elements stay open. The result is the page cut where a limit
// would be passed, with surplus attributes left out, and with its doctype replaced when the
// parser would take another mode than the standard's list of public identifiers gives: a
// quirks page gets `<!DOCTYPE quirks>` (a name other than "html" means quirks mode), any other
// gets `<!DOCTYPE html>`.
PreparedMarkup PrepareMarkup(std::string_view utf8, const MarkupLimits& limits = {});

}  // namespace langxing::html
