// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/render_article.hpp"

#include "core/portal.hpp"
#include "core/status_texts.hpp"
#include "core/text.hpp"
#include "reader/flash_player.hpp"
#include "reader/page_rewrite.hpp"
#include "reader/portal_article.hpp"

namespace langxing {

namespace {

constexpr std::u16string_view kFailureText = u"抱歉，本文获取失败！可以访问原始页";
constexpr std::u16string_view kSourceLineStart = u"<br /><hr /><center> 文章来源于新浪网<a href='";
constexpr std::u16string_view kSourceLineEnd = u"' target='_blank' >访问原始页</a></center>";
// What the wrapped page holds when nothing stood between the body tags.
constexpr std::u16string_view kEmptyBodyMark = u";'></body>";

constexpr std::u16string_view kBlogStart = u"<!-- 正文开始 -->";
constexpr std::u16string_view kBlogEnd = u"<!-- 正文结束 -->";
constexpr std::u16string_view kAutoStart = u"<h1 id=\"artibodyTitle\"";
constexpr std::u16string_view kArticleEnd = u"<!-- publish_helper_end -->";
constexpr std::u16string_view kGeneralStart = u"<!-- 内容列 begin -->";

// The source line's link: the address inside a single-quoted attribute, with each "'"
// written as %27 so that no address can end the attribute early.
void AppendSourceLine(std::u16string& out, std::u16string_view url) {
  out += kSourceLineStart;
  for (const char16_t c : url) {
    if (c == u'\'') {
      out += u"%27";
    } else {
      out += c;
    }
  }
  out += kSourceLineEnd;
}

// Appends the article cut out of the downloaded page by the markers of its kind of page.
void AppendArticle(std::u16string& out, std::u16string_view url, std::u16string_view page) {
  if (!Contains(url, PortalDomain)) {
    out += page;
  } else if (Contains(url, PortalBlogHost)) {
    out += u"<center><strong>";
    out += ExtractBetweenView(page, u"<title>", u"</title>");
    out += u"</strong></center><hr /><br />";
    out += ExtractBetweenView(page, kBlogStart, kBlogEnd);
  } else if (Contains(url, PortalAutoHost)) {
    // The start marker is put back: it opens the article's heading.
    out += kAutoStart;
    out += ExtractBetweenView(page, kAutoStart, kArticleEnd);
  } else {
    out += ExtractBetweenView(page, kGeneralStart, kArticleEnd);
  }
}

// The opening body tag of the wrapped page, with room for an article of `articleSize`, for the
// rewrites to grow it in place and for the source line.
std::u16string OpenBody(const ReaderSettings& settings, std::size_t articleSize,
                        std::size_t urlSize) {
  std::u16string body;
  body.reserve(articleSize + articleSize / 4 + settings.backgroundColour.size() + urlSize * 3 +
               256);
  body += u"<body style='background-color: ";
  body += settings.backgroundColour;
  body += u";font-size:";
  body += Utf8ToUtf16(std::to_string(settings.fontSize));
  body += u"px;'>";
  return body;
}

// The nine rewrites, in order; with video wanted, Flash players the view cannot play become a
// link to their video first.
void Restyle(std::u16string& body, const ReaderSettings& settings, std::u16string_view url) {
  if (settings.showVideo != 0) ReplaceFlashPlayers(body, url);
  ReplaceEvery(body, u"<h1", u"<h3 style='text-align :center;'");
  ReplaceEvery(body, u"<span class=\"img_descr\">", u"<br /><span style='font-size:12px' >");
  ReplaceEvery(body, u".swf", u"");
  ReplaceEvery(body, u"class=\"artInfo\"", u"style='font-size:12px;text-align :center;'");
  if (settings.showImages == 0) {
    ReplaceEvery(body, u".jpg", u".");
    ReplaceEvery(body, u".bmp", u".");
    ReplaceEvery(body, u"<img ", u"<img style='display:none'");
  }
  if (settings.showVideo == 0) {
    ReplaceEvery(body, PortalVideoHost, u".");
    ReplaceEvery(body, u"<span class=\"contentPlayer\">", u"<span style='display:none' >");
  }
}

bool IsEmptyBody(std::u16string_view body) {
  return FindText(body, kEmptyBodyMark) != std::u16string_view::npos;
}

}  // namespace

std::u16string ArticleFailurePage(std::u16string_view url, const ReaderSettings& settings) {
  // In the reader's colour and size, like any article, with a link to try the download again
  // beside the one to the original page.
  std::u16string page = OpenBody(settings, kFailureText.size(), url.size());
  page += kFailureText;
  AppendSourceLine(page, url);
  // The article view reads a click on the retry link as "download the article again".
  std::u16string retryLink = u" <a href='#";
  retryLink.append(ArticleRetryFragment).append(u"'>重试</a>");
  constexpr std::u16string_view kCentreEnd = u"</center>";
  page.insert(page.size() - kCentreEnd.size(), retryLink);
  page += u"</body>";
  return page;
}

std::u16string RenderArticle(std::u16string_view url, const ReaderSettings& settings,
                             Downloader& downloader, const StatusWriter& setStatus,
                             const std::atomic<bool>* cancel) {
  setStatus(StatusFetchStepTwo);
  const std::u16string_view charset = Contains(url, PortalBlogHost) ? u"utf-8" : u"GB2312";
  DownloadedPage downloaded = downloader.DownloadPage(url, charset, cancel);
  // A download that failed (or brought nothing) gives the failure page for every kind of page:
  // a blog's empty title block or the auto section's bare heading would stand there alone.
  if (downloaded.text.empty()) {
    setStatus(StatusProcessing);
    setStatus(StatusProcessed);
    setStatus(StatusIdle);
    return ArticleFailurePage(url, settings);
  }

  // A page that names this program past its first ten characters is shown as it came.
  const std::size_t nameAt = FindText(downloaded.text, ProgramName);
  if (nameAt != std::u16string::npos && nameAt >= 10) return std::move(downloaded.text);

  const bool generalNews = Contains(url, PortalDomain) && !Contains(url, PortalBlogHost) &&
                           !Contains(url, PortalAutoHost);
  std::u16string body = OpenBody(settings, downloaded.text.size(), url.size());
  AppendArticle(body, url, downloaded.text);
  body += u"</body>";
  setStatus(StatusProcessing);
  Restyle(body, settings, url);
  // A general-news page the classic cut finds nothing in, and that carries neither of the old
  // layout's markers, is read as the portal writes its pages today, from the same bytes: by
  // today's template, as a gallery or video page, or by its main text. A page of the old layout
  // that lost one marker stays the failure page it always was. Pages of the mobile site, which
  // the classic rules show whole, are read so too, and keep that whole page where no reading
  // finds an article.
  const bool classicFoundNothing = generalNews && IsEmptyBody(body) &&
                                   !Contains(downloaded.text, kGeneralStart) &&
                                   !Contains(downloaded.text, kArticleEnd);
  if (classicFoundNothing || IsMobilePortalAddress(url)) {
    const std::u16string article = PortalArticle(downloaded, url, settings.showVideo != 0);
    if (!article.empty()) {
      body = OpenBody(settings, article.size(), url.size());
      body += article;
      body += u"</body>";
      Restyle(body, settings, url);
    }
  }
  downloaded = DownloadedPage();
  setStatus(StatusProcessed);

  std::u16string result;
  if (IsEmptyBody(body)) {
    result = ArticleFailurePage(url, settings);
  } else {
    result = std::move(body);
    AppendSourceLine(result, url);
  }
  setStatus(StatusIdle);
  return result;
}

}  // namespace langxing
