// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/render_article.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace langxing {
namespace {

class FakeDownloader : public Downloader {
 public:
  explicit FakeDownloader(std::u16string page) : page_(std::move(page)) {}
  std::u16string DownloadText(std::u16string_view url, std::u16string_view charset) override {
    urls.emplace_back(url);
    charsets.emplace_back(charset);
    return page_;
  }
  std::vector<std::u16string> urls, charsets;

 private:
  std::u16string page_;
};

struct Rendered {
  std::u16string html;
  std::vector<std::u16string> statuses;
  std::u16string charset;
  std::u16string downloadedUrl;
};

Rendered Render(std::u16string_view url, std::u16string page, ReaderSettings settings = {}) {
  FakeDownloader downloader(std::move(page));
  Rendered r;
  r.html = RenderArticle(url, settings, downloader,
                         [&](std::u16string_view s) { r.statuses.emplace_back(s); });
  if (!downloader.urls.empty()) {
    r.downloadedUrl = downloader.urls.front();
    r.charset = downloader.charsets.front();
  }
  EXPECT_EQ(downloader.urls.size(), 1u);
  return r;
}

const std::u16string kNewsUrl = u"http://news.sina.com.cn/c/2010-05-01/a.shtml";
const std::u16string kAutoUrl = u"http://auto.sina.com.cn/news/2010-05-01/b.shtml";
const std::u16string kBlogUrl = u"http://blog.sina.com.cn/s/blog_1.html";

std::u16string SourceLine(std::u16string_view url) {
  return u"<br /><hr /><center> 文章来源于新浪网<a href='" + std::u16string(url) +
         u"' target='_blank' >访问原始页</a></center>";
}

std::u16string NewsPage(std::u16string_view article) {
  return u"<html><div>菜单</div><!-- 内容列 begin -->" + std::u16string(article) +
         u"<!-- publish_helper_end --><div>页脚</div></html>";
}

ReaderSettings Options(std::uint8_t images, std::uint8_t video, std::u16string colour = u"0",
                       std::int16_t size = 14) {
  return ReaderSettings{images, video, std::move(colour), size};
}

TEST(RenderArticle, ReaderPageOfAGeneralNewsArticle) {
  const Rendered r = Render(kNewsUrl, NewsPage(u"<h1>标题</h1><p>正文</p>"));
  EXPECT_EQ(r.html,
            u"<body style='background-color: 0;font-size:14px;'>"
            u"<h3 style='text-align :center;'>标题</h1><p>正文</p></body>" +
                SourceLine(kNewsUrl));
  EXPECT_EQ(r.charset, u"GB2312");
  EXPECT_EQ(r.statuses, (std::vector<std::u16string>{u"状态：获取》》", u"状态：正在处理",
                                                     u"状态：处理完毕", u"状态：空闲"}));
}

TEST(RenderArticle, BodyRewritesByOptions) {
  const std::u16string kFlashEmbed =
      u"<embed src=\"http://video.sina.com.cn/p.swf?vid=1\" flashvars=\"pic=//i.sinaimg.cn/1.jpg&"
      u"title=%E5%8C%97%E4%BA%AC&url=http://video.sina.com.cn/v/1.html\" width=480 height=370>";
  const std::u16string wrapStart = u"<body style='background-color: 0;font-size:14px;'>";
  struct Case {
    const char* name;
    ReaderSettings settings;
    std::u16string article, body;
  } cases[] = {
      {"colour text and size verbatim", Options(1, 1, u"C0C0C0", 20), u"<p>x</p>",
       u"<body style='background-color: C0C0C0;font-size:20px;'><p>x</p>"},
      {"literal colour, negative size", Options(1, 1, u"#2E8B57", -3), u"<p>x</p>",
       u"<body style='background-color: #2E8B57;font-size:-3px;'><p>x</p>"},
      {"images hidden", Options(0, 1),
       u"<img src=\"a.jpg\"><img src=\"b.JPG\"><IMG src=c.bmp><img\tsrc=d.jpg>",
       wrapStart + u"<img style='display:none'src=\"a.\"><img style='display:none'src=\"b.JPG\">"
                   u"<IMG src=c.><img\tsrc=d.>"},
      {"images shown, flash still removed", Options(1, 1),
       u"<embed src=\"v.swf\"><img src=\"a.jpg\">",
       wrapStart + u"<embed src=\"v\"><img src=\"a.jpg\">"},
      {"video hidden", Options(1, 0),
       u"<a href=http://video.sina.com.cn/p/1.html><span class=\"contentPlayer\">v</span>",
       wrapStart + u"<a href=http://./p/1.html><span style='display:none' >v</span>"},
      {"video shown", Options(1, 1),
       u"<a href=http://video.sina.com.cn/p/1.html><span class=\"contentPlayer\">v</span>",
       wrapStart +
           u"<a href=http://video.sina.com.cn/p/1.html><span class=\"contentPlayer\">v</span>"},
      {"captions and info line", Options(1, 1),
       u"<p class=\"artInfo\">时间</p><span class=\"img_descr\">图</span>",
       wrapStart + u"<p style='font-size:12px;text-align :center;'>时间</p>"
                   u"<br /><span style='font-size:12px' >图</span>"},
      {"replacements run in order, each once", Options(0, 1), u"<h.swf1>a.j.swfpg<h1<h1",
       wrapStart + u"<h1>a.<h3 style='text-align :center;'<h3 style='text-align :center;'"},
      {"portal video player, video shown: a link to its video", Options(1, 1),
       u"<span class=\"contentPlayer\">" + kFlashEmbed + u"</embed></span>",
       wrapStart +
           u"<span class=\"contentPlayer\"><p style=\"text-align:center\">"
           u"<a href=\"http://video.sina.com.cn/v/1.html\" target=\"_blank\">"
           u"<img src=\"https://i.sinaimg.cn/1.jpg\" alt=\"\"><br />视频：北京</a></p></span>"},
      {"portal video player, video hidden: the rewrites as ever", Options(1, 0), kFlashEmbed,
       wrapStart + u"<embed src=\"http://./p?vid=1\" flashvars=\"pic=//i.sinaimg.cn/1.jpg&"
                   u"title=%E5%8C%97%E4%BA%AC&url=http://./v/1.html\" width=480 height=370>"},
      {"object player without flashvars links the article", Options(0, 1),
       u"<OBJECT data=\"http://you.video.sina.com.cn/a.SWF\" width=\"480\"><param name=\"movie\" "
       u"value=\"http://you.video.sina.com.cn/a.SWF\"><object></object></OBJECT>尾",
       wrapStart + u"<p style=\"text-align:center\"><a href=\"" + kNewsUrl +
           u"\" target=\"_blank\">观看视频</a></p>尾"},
      {"unclosed player object stays", Options(1, 1),
       u"<object data=\"http://video.sina.com.cn/a.swf?vid=2\"><p>x</p>",
       wrapStart + u"<object data=\"http://video.sina.com.cn/a?vid=2\"><p>x</p>"},
  };
  for (const Case& c : cases) {
    const Rendered r = Render(kNewsUrl, NewsPage(c.article), c.settings);
    EXPECT_EQ(r.html, c.body + u"</body>" + SourceLine(kNewsUrl)) << c.name;
  }
}

TEST(RenderArticle, KindsOfPage) {
  struct Case {
    const char* name;
    std::u16string url, page, html, charset;
  } cases[] = {
      {"auto page puts its heading marker back", kAutoUrl,
       u"x<h1 id=\"artibodyTitle\">车</h1>正文<!-- publish_helper_end -->y",
       u"<body style='background-color: 0;font-size:14px;'>"
       u"<h3 style='text-align :center;' id=\"artibodyTitle\">车</h1>正文</body>" +
           SourceLine(kAutoUrl),
       u"GB2312"},
      {"auto page without end marker is not a failure", kAutoUrl, u"<h1 id=\"artibodyTitle\">车",
       u"<body style='background-color: 0;font-size:14px;'><h3 style='text-align :center;' "
       u"id=\"artibodyTitle\"</body>" +
           SourceLine(kAutoUrl),
       u"GB2312"},
      {"blog title comes from the title element", kBlogUrl,
       u"<title>博文_新浪博客</title><h1>别的标题</h1><!-- 正文开始 --><p>文</p><!-- 正文结束 -->",
       u"<body style='background-color: 0;font-size:14px;'><center><strong>博文_新浪博客</strong>"
       u"</center><hr /><br /><p>文</p></body>" +
           SourceLine(kBlogUrl),
       u"utf-8"},
      {"failed blog download", kBlogUrl, u"", ArticleFailurePage(kBlogUrl), u"utf-8"},
      {"failed auto download", kAutoUrl, u"", ArticleFailurePage(kAutoUrl), u"GB2312"},
      {"failed download outside the portal", u"http://example.org/a", u"",
       ArticleFailurePage(u"http://example.org/a"), u"GB2312"},
      {"outside the portal the whole page is the article", u"http://example.org/a", u"<p>全文</p>",
       u"<body style='background-color: 0;font-size:14px;'><p>全文</p></body>" +
           SourceLine(u"http://example.org/a"),
       u"GB2312"},
      {"general page without end marker fails", kNewsUrl, u"<!-- 内容列 begin --><p>x</p>",
       ArticleFailurePage(kNewsUrl), u"GB2312"},
      {"failed general download", kNewsUrl, u"", ArticleFailurePage(kNewsUrl), u"GB2312"},
      {"no address at all", u"", u"", ArticleFailurePage(u""), u"GB2312"},
      {"article ending like an empty body fails", kNewsUrl, NewsPage(u"<p style='a;'>"),
       ArticleFailurePage(kNewsUrl), u"GB2312"},
  };
  for (const Case& c : cases) {
    const Rendered r = Render(c.url, c.page);
    EXPECT_EQ(r.html, c.html) << c.name;
    EXPECT_EQ(r.charset, c.charset) << c.name;
    EXPECT_EQ(r.statuses, (std::vector<std::u16string>{u"状态：获取》》", u"状态：正在处理",
                                                       u"状态：处理完毕", u"状态：空闲"}))
        << c.name;
  }
}

TEST(RenderArticle, FailurePageIsExact) {
  EXPECT_EQ(ArticleFailurePage(u"http://a/b", Options(1, 0, u"#B0C4DE", 18)),
            u"<body style='background-color: #B0C4DE;font-size:18px;'>"
            u"抱歉，本文获取失败！可以访问原始页<br /><hr /><center> 文章来源于新浪网"
            u"<a href='http://a/b' target='_blank' >访问原始页</a> "
            u"<a href='#langxing-retry'>重试</a></center></body>");
}

TEST(RenderArticle, PageNamingTheProgramLateIsReturnedAsDownloaded) {
  // Nine characters before the name: it begins at character 10 and does not count.
  const std::u16string early = u"123456789朗星快报" + NewsPage(u"<h1>x");
  const Rendered notReturned = Render(kNewsUrl, early);
  EXPECT_TRUE(notReturned.html.starts_with(u"<body ")) << "name at character 10";

  const std::u16string late = u"1234567890朗星快报<h1>" + NewsPage(u"<h1>x");
  const Rendered returned = Render(kNewsUrl, late, Options(0, 0));
  EXPECT_EQ(returned.html, late);
  EXPECT_EQ(returned.statuses, std::vector<std::u16string>{u"状态：获取》》"});
}

TEST(RenderArticle, SourceLineAddressCannotLeaveItsAttribute) {
  const std::u16string url = u"http://news.sina.com.cn/a'onmouseover='x.shtml";
  const std::u16string escaped = u"http://news.sina.com.cn/a%27onmouseover=%27x.shtml";
  const Rendered ok = Render(url, NewsPage(u"<p>x</p>"));
  EXPECT_EQ(ok.downloadedUrl, url);  // the download uses the address as it stands
  EXPECT_TRUE(ok.html.ends_with(SourceLine(escaped)));
  EXPECT_EQ(Render(url, u"").html, ArticleFailurePage(url));
  const std::u16string failure = ArticleFailurePage(url);
  EXPECT_NE(failure.find(u"<a href='" + escaped + u"' "), std::u16string::npos);
  EXPECT_EQ(failure.find(u"a'onmouseover"), std::u16string::npos);
}

TEST(RenderArticle, VideoHostInTheAddressSurvivesInTheSourceLine) {
  const std::u16string url = u"http://video.sina.com.cn/v/1.html";
  const Rendered r = Render(url, NewsPage(u"<p>video.sina.com.cn</p>"), Options(1, 0));
  EXPECT_EQ(r.html,
            u"<body style='background-color: 0;font-size:14px;'><p>.</p></body>" + SourceLine(url));
}

}  // namespace
}  // namespace langxing
