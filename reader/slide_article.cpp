// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/slide_article.hpp"

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "core/collapsed_space.hpp"
#include "reader/article_markup.hpp"
#include "reader/page_heading.hpp"

namespace langxing {

namespace {

constexpr std::string_view kSlideData = "slide_data";
// Deeper than any gallery's object: the object is cut out and parsed only when it is shallower.
constexpr int kMaxDepth = 32;

// Collects the text of the page's scripts.
class ScriptWalk : public HtmlVisitor {
 public:
  bool Enter(const HtmlElement& element) override {
    inScript_ = element.Name() == "script";
    return inScript_ || !element.IsNotContent();
  }
  void Text(std::string_view text) override {
    if (inScript_) scripts.emplace_back(text);
  }
  void Leave(const HtmlElement&) override { inScript_ = false; }

  std::vector<std::string> scripts;

 private:
  bool inScript_ = false;
};

// The object literal assigned to slide_data in `script`: from its "{" to the matching "}",
// strings skipped; nothing when it is unclosed or nests deeper than kMaxDepth.
std::optional<std::string_view> SlideDataObject(std::string_view script) {
  for (std::size_t at = script.find(kSlideData); at != std::string_view::npos;
       at = script.find(kSlideData, at + 1)) {
    std::size_t i = at + kSlideData.size();
    while (i < script.size() &&
           (script[i] == ' ' || script[i] == '\t' || script[i] == '\n' || script[i] == '\r')) {
      ++i;
    }
    if (i >= script.size() || script[i] != '=') continue;
    const std::size_t open = script.find('{', i);
    if (open == std::string_view::npos) return std::nullopt;
    int depth = 0;
    char quote = 0;
    for (std::size_t k = open; k < script.size(); ++k) {
      const char c = script[k];
      if (quote != 0) {
        if (c == '\\') {
          ++k;
        } else if (c == quote) {
          quote = 0;
        }
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '{' || c == '[') {
        if (++depth > kMaxDepth) return std::nullopt;
      } else if (c == '}' || c == ']') {
        if (--depth == 0) return script.substr(open, k + 1 - open);
      }
    }
    return std::nullopt;
  }
  return std::nullopt;
}

std::string StringAt(const nlohmann::json& object, const char* key) {
  const auto it = object.find(key);
  return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

std::u16string SlideArticle(const HtmlPage& html) {
  ScriptWalk walk;
  html.Walk(walk);
  std::optional<nlohmann::json> data;
  for (const std::string& script : walk.scripts) {
    if (const auto object = SlideDataObject(script)) {
      auto parsed = nlohmann::json::parse(*object, nullptr, false);
      if (!parsed.is_discarded()) data = std::move(parsed);
      break;
    }
  }
  if (!data || !data->is_object()) return {};
  const auto images = data->find("images");
  if (images == data->end() || !images->is_array()) return {};

  std::string body;
  for (const nlohmann::json& image : *images) {
    if (!image.is_object()) continue;
    const std::string address = AbsoluteWebAddress(StringAt(image, "download_img"));
    if (address.empty()) continue;
    body += "<div class=\"img_wrapper\"><img src=\"" + EscapedAttribute(address) + "\" alt=\"\">";
    const std::string intro = CollapsedSpace(StringAt(image, "intro"));
    if (!intro.empty()) body += "<span class=\"img_descr\">" + EscapedText(intro) + "</span>";
    body += "</div>";
  }
  if (body.empty()) return {};
  return FinishedArticle(ArticleHead(ReadPageHeading(html).title, std::nullopt), body);
}

}  // namespace langxing
