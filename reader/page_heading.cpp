// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/page_heading.hpp"

#include <array>
#include <map>
#include <string_view>

#include "core/collapsed_space.hpp"

namespace langxing {

namespace {

struct Found {
  std::optional<HtmlElement> element;
  std::optional<std::string> text;
};

// One walk over the page for the meta tags, the <title>, the first heading outside navigation
// and logos, and the elements the templates write the date and source in.
class HeadingWalk : public HtmlVisitor {
 public:
  explicit HeadingWalk(const HtmlPage& html) : html_(html) {}

  bool Enter(const HtmlElement& element) override {
    const std::string tag = element.Name();
    if (tag == "meta") {
      std::string_view key = element.Attribute("property");
      if (key.empty()) key = element.Attribute("name");
      if (!key.empty()) metas.emplace(std::string(key), std::string(element.Attribute("content")));
      return false;
    }
    if (element.IsNotContent()) return false;
    if (tag == "title") {
      Take(title, element);
      return false;
    }
    if (HidesHeadings(tag, element)) ++headingHidden_;
    if (tag == "h1" && headingHidden_ == 0) Take(heading, element);
    if (element.HasClass("date-source")) Take(dateSource, element);
    if (element.HasClass("time-source") || element.Attribute("id") == "pub_date" ||
        (tag == "time" && element.HasClass("weibo_time"))) {
      Take(date, element);
    }
    if (tag == "h2" && element.HasClass("weibo_user")) Take(source, element);
    return true;
  }

  void Text(std::string_view) override {}

  void Leave(const HtmlElement& element) override {
    if (HidesHeadings(element.Name(), element)) --headingHidden_;
  }

  std::map<std::string, std::string> metas;
  Found title, heading, dateSource, date, source;

 private:
  // A site's navigation and its logo: a heading inside names the site, not the article.
  static bool HidesHeadings(const std::string& tag, const HtmlElement& element) {
    if (tag == "nav") return true;
    for (const char* attribute : {"class", "id"}) {
      if (element.Attribute(attribute).find("logo") != std::string_view::npos) return true;
    }
    return false;
  }

  // The first such element that shows any text.
  void Take(Found& found, const HtmlElement& element) {
    if (found.text) return;
    std::string text = html_.TextOf(element);
    if (text.empty()) return;
    found.element = element;
    found.text = std::move(text);
  }

  const HtmlPage& html_;
  int headingHidden_ = 0;
};

std::optional<std::string> MetaOf(const std::map<std::string, std::string>& metas,
                                  std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    const auto it = metas.find(key);
    if (it == metas.end()) continue;
    std::string value = CollapsedSpace(it->second);
    if (!value.empty()) return value;
  }
  return std::nullopt;
}

// "2023-05-08T08:39:31+08:00" as "2023-05-08 08:39"; another form as it stands.
std::string ReadableTime(const std::string& stamp) {
  if (stamp.size() >= 16 && stamp[10] == 'T' && stamp[13] == ':') {
    return stamp.substr(0, 10) + " " + stamp.substr(11, 5);
  }
  return stamp;
}

}  // namespace

std::string WithoutSiteName(std::string_view title) {
  static constexpr std::array<std::string_view, 4> kSeparators = {"_", "|", "｜", " - "};
  std::string_view kept = title;
  for (;;) {
    std::size_t cut = std::string_view::npos;
    std::size_t separatorSize = 0;
    for (const std::string_view separator : kSeparators) {
      const std::size_t at = kept.rfind(separator);
      if (at != std::string_view::npos && (cut == std::string_view::npos || at > cut)) {
        cut = at;
        separatorSize = separator.size();
      }
    }
    if (cut == std::string_view::npos || cut == 0) break;
    const std::string_view tail = kept.substr(cut + separatorSize);
    const bool namesSite = tail.find("新浪") != std::string_view::npos ||
                           tail.find("sina") != std::string_view::npos ||
                           tail.find("Sina") != std::string_view::npos ||
                           tail.find("SINA") != std::string_view::npos;
    if (!namesSite) break;
    kept = kept.substr(0, cut);
  }
  return CollapsedSpace(kept);
}

PageHeading ReadPageHeading(const HtmlPage& html) {
  HeadingWalk walk(html);
  html.Walk(walk);

  PageHeading heading;
  if (auto ogTitle = MetaOf(walk.metas, {"og:title"})) {
    heading.title = WithoutSiteName(*ogTitle);
  } else if (walk.heading.text) {
    heading.title = walk.heading.text;
  } else if (walk.title.text) {
    heading.title = WithoutSiteName(*walk.title.text);
  }
  if (walk.heading.element) heading.shown.push_back(*walk.heading.element);

  if (walk.dateSource.text) {
    heading.dateLine = walk.dateSource.text;
    heading.shown.push_back(*walk.dateSource.element);
  } else {
    std::optional<std::string> date = walk.date.text;
    if (!date) {
      if (auto stamp = MetaOf(walk.metas, {"article:published_time"})) date = ReadableTime(*stamp);
    }
    std::optional<std::string> source = walk.source.text;
    if (!source) source = MetaOf(walk.metas, {"article:author"});
    for (const Found* found : {&walk.date, &walk.source}) {
      if (found->element) heading.shown.push_back(*found->element);
    }
    if (date && source) {
      heading.dateLine = *date + " " + *source;
    } else if (date || source) {
      heading.dateLine = date ? date : source;
    }
  }
  heading.summary = MetaOf(walk.metas, {"og:description", "description"});
  heading.picture = MetaOf(walk.metas, {"og:image"});
  return heading;
}

}  // namespace langxing
