// SPDX-License-Identifier: GPL-3.0-or-later
// The fixture set: a manifest naming, per address, the file to serve and how to serve it.
//
// manifest.txt, one page per line; blank lines and lines starting with "#" are skipped:
//   ADDRESS FILE [enc=gbk|utf-8|raw] [type=CONTENT-TYPE] [status=N] [delay=MS]
//                [behaviour=normal|stall|oversized|close]
// FILE is a path relative to the manifest's folder (stored as UTF-8 text), "-" for an empty
// body, or "@name" for a page made in code (generated_pages.hpp). enc says how the text is
// served: gbk (the default) transcodes it, utf-8 and raw send the file's bytes as they are.
// type defaults to text/html and is sent as written.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "tests/portal/test_portal.hpp"

namespace langxing::testportal {

// Throws std::runtime_error naming the line for a malformed entry or a missing file.
std::map<std::string, Page> ParseManifest(std::string_view manifest,
                                          const std::filesystem::path& folder);
std::map<std::string, Page> LoadFixtureSet(const std::filesystem::path& root);  // root/manifest.txt

}  // namespace langxing::testportal
