// SPDX-License-Identifier: GPL-3.0-or-later
// Turning page bytes into the body texts the hidden views hand out: decoding by the HTML rules
// (html_charset.hpp), parsing with gumbo and serialising innerHTML / innerText the way the
// scrapers expect (html_serializer.hpp).
#pragma once

#include <atomic>
#include <string_view>

#include "core/html_serializer.hpp"

namespace langxing {

// The whole road from bytes to body texts.
BodyTexts BodyTextsOfPage(std::string_view bytes, std::string_view contentType,
                          const std::atomic<bool>* cancel = nullptr,
                          BodyParts parts = BodyParts::kBoth);

}  // namespace langxing
