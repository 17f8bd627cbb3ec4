// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/video_article.hpp"

#include "core/text.hpp"
#include "reader/article_markup.hpp"
#include "reader/page_heading.hpp"
#include "reader/video_link.hpp"

namespace langxing {

namespace {

// The page's own <video> (its address, or its first <source>'s) and poster pictures.
class PlayerWalk : public HtmlVisitor {
 public:
  bool Enter(const HtmlElement& element) override {
    if (element.IsNotContent()) return false;
    const std::string tag = element.Name();
    if (tag == "video") {
      inVideo_ = true;
      if (videoAddress.empty()) videoAddress = AbsoluteWebAddress(element.Attribute("src"));
      if (videoPoster.empty()) videoPoster = AbsoluteWebAddress(element.Attribute("poster"));
    } else if (tag == "source" && inVideo_ && videoAddress.empty()) {
      videoAddress = AbsoluteWebAddress(element.Attribute("src"));
    } else if (tag == "img" && namedPoster.empty() && IsNamedAsPoster(element)) {
      std::string_view source = element.Attribute("data-src");
      if (source.empty()) source = element.Attribute("src");
      namedPoster = AbsoluteWebAddress(source);
    }
    return true;
  }
  void Text(std::string_view) override {}
  void Leave(const HtmlElement& element) override {
    if (element.Name() == "video") inVideo_ = false;
  }

  std::string videoAddress, videoPoster, namedPoster;

 private:
  static bool IsNamedAsPoster(const HtmlElement& element) {
    for (const char* attribute : {"class", "id"}) {
      if (element.Attribute(attribute).find("poster") != std::string_view::npos) return true;
    }
    return false;
  }

  bool inVideo_ = false;
};

}  // namespace

std::u16string VideoArticle(const HtmlPage& html, std::u16string_view pageUrl, bool showVideo) {
  const PageHeading heading = ReadPageHeading(html);
  if (!heading.title) return {};
  PlayerWalk walk;
  html.Walk(walk);
  std::string poster = heading.picture ? AbsoluteWebAddress(*heading.picture) : std::string();
  if (poster.empty()) poster = walk.videoPoster;
  if (poster.empty()) poster = walk.namedPoster;

  std::string body;
  if (heading.summary) body += "<p>" + EscapedText(*heading.summary) + "</p>";
  if (showVideo && !walk.videoAddress.empty()) {
    body += "<p style=\"text-align:center\"><video controls preload=\"none\" src=\"" +
            EscapedAttribute(walk.videoAddress) + "\"";
    if (!poster.empty()) body += " poster=\"" + EscapedAttribute(poster) + "\"";
    body += " style=\"max-width:100%\"></video></p>";
  } else if (showVideo) {
    body += VideoLinkMarkup(*heading.title, poster, AbsoluteWebAddress(Utf16ToUtf8(pageUrl)));
  } else if (!poster.empty()) {
    body += "<p style=\"text-align:center\"><img src=\"" + EscapedAttribute(poster) +
            "\" alt=\"\"></p>";
  }
  return FinishedArticle(ArticleHead(heading.title, heading.dateLine), body);
}

}  // namespace langxing
