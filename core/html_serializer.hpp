// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a decoded page with gumbo and writing its body back out as innerHTML and innerText, in
// the form the headline and announcement scrapers cut with literal markers.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace langxing {

struct BodyTexts {
  std::u16string innerHtml;
  std::u16string innerText;
};

// Which of the body texts to serialise: a view that reads only one of them need not wait for
// the other (on a large listing, innerText costs a tenth of the whole road).
enum class BodyParts { kInnerHtml = 1, kInnerText = 2, kBoth = 3 };

// Parses a decoded page and serialises its body. Not HTML (an image, a binary): empty texts.
// `cancel`, when given and set, ends the work at the next step with empty texts.
BodyTexts SerializeBody(std::u16string_view html);
BodyTexts SerializeBodyUtf8(std::string_view html, const std::atomic<bool>* cancel = nullptr,
                            BodyParts parts = BodyParts::kBoth);

}  // namespace langxing
