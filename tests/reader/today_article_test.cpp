// SPDX-License-Identifier: GPL-3.0-or-later
// Article pages in the portal's current template through RenderArticle: the downloaded bytes
// are read a second time by the page's own charset when the classic cut finds nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/charset.hpp"
#include "core/html_element.hpp"
#include "core/text.hpp"
#include "reader/clutter_names.hpp"
#include "reader/page_heading.hpp"
#include "reader/render_article.hpp"
#include "tests/portal/test_portal.hpp"

namespace langxing {
namespace {

// Serves one page with its bytes and the text in the caller's charset (as CurlDownloader
// decodes a page that names no charset of its own).
class BytesDownloader : public Downloader {
 public:
  BytesDownloader(std::string bytes, std::string contentType)
      : bytes_(std::move(bytes)), contentType_(std::move(contentType)) {}
  std::u16string DownloadText(std::u16string_view, std::u16string_view charset) override {
    return DecodeBytes(bytes_, charset).value_or(u"");
  }
  DownloadedPage DownloadPage(std::u16string_view url, std::u16string_view charset,
                              const std::atomic<bool>*) override {
    ++downloads;
    return {DownloadText(url, charset), bytes_, contentType_, "", LoadFailure::kNone};
  }
  int downloads = 0;

 private:
  std::string bytes_, contentType_;
};

constexpr std::u16string_view kNewsUrl = u"https://news.sina.com.cn/c/2024-05-10/doc-iabc.shtml";
constexpr std::u16string_view kAutoUrl = u"https://auto.sina.com.cn/news/2024-05-10/doc-iabc.shtml";
const std::string kUtf8Meta = "<meta charset=\"utf-8\">";

std::string TodayPage(std::string head, std::string body) {
  return "<!DOCTYPE html><html><head>" + head + "<title>标题_新浪新闻</title></head><body>" +
         "<div class=\"top-bar\">导航 <a href=\"//news.sina.com.cn/\">首页</a></div>" + body +
         "<div id=\"footer\">页脚 Copyright</div></body></html>";
}

const std::string kNewsBody =
    "<div class=\"main-content\"><h1 class=\"main-title\">高铁 &amp; 新线</h1>"
    "<div class=\"date-source\"><span class=\"date\">2024年05月10日 00:26</span>"
    "<a class=\"source\" href=\"//news.sina.com.cn/\">新华社</a></div>"
    "<div class=\"article\" id=\"article\"><!-- 正文 start -->"
    "<p>　　第一段。</p><script>var ad = '<p>广告</p>';</script><style>p{color:red}</style>"
    "<div id=\"left_hzh_ad\">广告位</div><div class=\"appendQr_wrap\">扫码</div>"
    "<div class=\"img_wrapper\"><img src=\"//n.sinaimg.cn/news/a.jpg\" alt=\"图\">"
    "<span class=\"img_descr\">图说</span></div>"
    "<p><img src=\"//n.sinaimg.cn/blank.gif\" data-src=\"//n.sinaimg.cn/news/b.jpg\"></p>"
    "<p onclick=\"x()\">第二段 &lt;引&gt;</p><div class=\"app-kaihu-qr\">开户</div>"
    "<div class=\"tech-quotation\">行情</div><iframe src=\"//ad.sina.com.cn/\"></iframe>"
    "<!-- 正文 end --></div></div>";

const std::u16string kNewsArticle =
    u"<h3 style='text-align :center;'>高铁 &amp; 新线</h1>"
    u"<p style='font-size:12px;text-align :center;'>2024年05月10日 00:26 新华社</p>"
    u"<p>　　第一段。</p><div class=\"img_wrapper\">"
    u"<img src=\"https://n.sinaimg.cn/news/a.jpg\" alt=\"图\">"
    u"<br /><span style='font-size:12px' >图说</span></div>"
    u"<p><img src=\"https://n.sinaimg.cn/news/b.jpg\"></p><p>第二段 &lt;引&gt;</p>";

std::string Deep(int levels, std::string inner) {
  std::string s;
  for (int i = 0; i < levels; ++i) s += "<div>";
  s += inner;
  for (int i = 0; i < levels; ++i) s += "</div>";
  return s;
}

struct Rendered {
  std::u16string html;
  std::vector<std::u16string> statuses;
  int downloads = 0;
};

Rendered Render(std::u16string_view url, std::string bytes, std::string contentType,
                ReaderSettings settings = {}) {
  BytesDownloader downloader(std::move(bytes), std::move(contentType));
  Rendered r;
  r.html = RenderArticle(url, settings, downloader,
                         [&](std::u16string_view s) { r.statuses.emplace_back(s); });
  r.downloads = downloader.downloads;
  return r;
}

std::u16string Wrapped(std::u16string_view article, std::u16string_view url) {
  return u"<body style='background-color: 0;font-size:14px;'>" + std::u16string(article) +
         u"</body><br /><hr /><center> 文章来源于新浪网<a href='" + std::u16string(url) +
         u"' target='_blank' >访问原始页</a></center>";
}

TEST(TodayArticle, NewsPageBecomesTheReaderPage) {
  const Rendered r = Render(kNewsUrl, TodayPage(kUtf8Meta, kNewsBody), "text/html");
  EXPECT_EQ(r.html, Wrapped(kNewsArticle, kNewsUrl));
  EXPECT_EQ(r.downloads, 1);
  EXPECT_EQ(r.statuses, (std::vector<std::u16string>{u"状态：获取》》", u"状态：正在处理",
                                                     u"状态：处理完毕", u"状态：空闲"}));
}

TEST(TodayArticle, PagesOfTheCurrentTemplate) {
  const std::string gbkMeta =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">";
  const std::string finance =
      "<h1 id=\"artibodyTitle\">财经标题</h1><span id=\"pub_date\">2012年01月02日</span>"
      "<div class=\"blkContainerSblkCon\" id=\"artibody\"><p>财经正文</p></div>";
  const std::string classic =
      "<!-- 内容列 begin --><p>旧版正文</p><!-- publish_helper_end -->"
      "<div id=\"article\"><p>新版正文</p></div>";
  struct Case {
    const char* name;
    std::u16string_view url;
    std::string bytes, contentType;
    std::vector<std::u16string> shows = {}, hides = {};
    bool failure = false;
  } cases[] = {
      {"artibody with the older title and date",
       kNewsUrl,
       TodayPage(kUtf8Meta, finance),
       "text/html",
       {u"<h3 style='text-align :center;'>财经标题</h1><p style='font-size:12px;text-align "
        u":center;'>2012年01月02日</p><p>财经正文</p></body>"}},
      {"both ids: #article wins",
       kNewsUrl,
       TodayPage(kUtf8Meta,
                 "<div id=\"artibody\"><p>乙</p></div><div id=\"article\"><p>甲</p></div>"),
       "text/html",
       {u"<body style='background-color: 0;font-size:14px;'><p>甲</p></body>"},
       {u"乙"}},
      {"no title: the body alone",
       kNewsUrl,
       TodayPage(kUtf8Meta, "<div id=\"article\"><p>无题</p></div>"),
       "text/html",
       {u"px;'><p>无题</p></body>"},
       {u"<h3"}},
      {"declares GBK, sent as UTF-8",
       kNewsUrl,
       TodayPage(gbkMeta, kNewsBody),
       "text/html",
       {kNewsArticle}},
      {"a real GBK page declared GBK",
       kNewsUrl,
       testportal::ToGbk(TodayPage(gbkMeta, "<div id=\"article\"><p>国标正文</p></div>")),
       "text/html",
       {u"<p>国标正文</p>"}},
      {"UTF-8 by header only",
       kNewsUrl,
       TodayPage("", kNewsBody),
       "text/html; charset=UTF-8",
       {kNewsArticle}},
      {"UTF-8 by byte-order mark only",
       kNewsUrl,
       "\xEF\xBB\xBF" + TodayPage("", kNewsBody),
       "text/html",
       {kNewsArticle}},
      {"body 1,000 divs deep",
       kNewsUrl,
       TodayPage(kUtf8Meta, "<h1 class=\"main-title\">深</h1><div id=\"article\"><p>浅</p>" +
                                Deep(1000, "底") + "</div>"),
       "text/html",
       {u"<h3 style='text-align :center;'>深</h1><p>浅</p><div><div>"}},
      {"classic page keeps the classic cut",
       kNewsUrl,
       testportal::ToGbk(TodayPage("", classic)),
       "text/html",
       {u"px;'><p>旧版正文</p></body>"},
       {u"新版正文"}},
      {"old layout without its end marker stays the failure page",
       kNewsUrl,
       testportal::ToGbk(
           TodayPage("", "<!-- 内容列 begin --><div id=\"artibody\"><p>旧</p></div>")),
       "text/html",
       {},
       {},
       true},
      {"no article element: failure page",
       kNewsUrl,
       TodayPage(kUtf8Meta, "<div id=\"articles\"><p>列表</p></div>"),
       "text/html",
       {},
       {},
       true},
      {"empty article element: failure page",
       kNewsUrl,
       TodayPage(kUtf8Meta, "<div id=\"article\"> <script>x()</script> </div>"),
       "text/html",
       {},
       {},
       true},
      {"auto pages keep their own rule",
       kAutoUrl,
       TodayPage(kUtf8Meta, kNewsBody),
       "text/html",
       {u"id=\"artibodyTitle\"</body>"},
       {u"第一段"}},
      {"not a page at all",
       kNewsUrl,
       std::string("\x89PNG\r\n\x1a\n\0\0", 10),
       "image/png",
       {},
       {},
       true},
  };
  for (const Case& c : cases) {
    const Rendered r = Render(c.url, c.bytes, c.contentType);
    if (c.failure) {
      EXPECT_EQ(r.html, ArticleFailurePage(c.url)) << c.name;
      continue;
    }
    for (const auto& text : c.shows) {
      EXPECT_NE(r.html.find(text), std::u16string::npos) << c.name << ": " << Utf16ToUtf8(text);
    }
    for (const auto& text : c.hides) {
      EXPECT_EQ(r.html.find(text), std::u16string::npos) << c.name << ": " << Utf16ToUtf8(text);
    }
    EXPECT_EQ(r.statuses.back(), u"状态：空闲") << c.name;
  }
}

TEST(TodayArticle, PicturesObeyTheImageOption) {
  const Rendered r = Render(kNewsUrl, TodayPage(kUtf8Meta, kNewsBody), "text/html",
                            ReaderSettings{0, 0, u"0", 14});
  EXPECT_NE(r.html.find(u"<img style='display:none'src=\"https://n.sinaimg.cn/news/b.\">"),
            std::u16string::npos);
  EXPECT_EQ(r.html.find(u".jpg"), std::u16string::npos);
}

// A downloader that keeps no bytes (as the tests' simpler fakes) is read from its text.
TEST(TodayArticle, TextOnlyDownloaderIsReadFromItsText) {
  class TextOnly : public Downloader {
   public:
    std::u16string DownloadText(std::u16string_view, std::u16string_view) override {
      return u"<html><body><h1 class=\"main-title\">题</h1><div id=\"article\"><p>文</p></div>";
    }
  } downloader;
  const std::u16string html = RenderArticle(kNewsUrl, {}, downloader, [](std::u16string_view) {});
  EXPECT_EQ(html, Wrapped(u"<h3 style='text-align :center;'>题</h1><p>文</p>", kNewsUrl));
}

// Pages in templates the classic cut and today's template do not know, read by the general
// reading: what must show, and the navigation, lists, ads and footers that must not.
std::string ReaderFixture(const std::string& name) {
  std::ifstream file(std::string(LANGXING_FIXTURES_DIR) + "/reader/" + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  EXPECT_FALSE(text.str().empty()) << name;
  return text.str();
}

TEST(GeneralReading, PagesOfOtherTemplates) {
  const std::vector<std::u16string> navigationAndFooters = {u"新浪首页", u"页脚", u"版权"};
  struct Case {
    const char* fixture;
    std::u16string_view url;
    ReaderSettings settings;
    std::vector<std::u16string> shows, hides;
    bool failure = false;
    std::string page = {};  // instead of the fixture: a page written here
  } cases[] = {
      {"k_self_media.html",
       u"https://k.sina.com.cn/article_1234567890_abcdef0123.html",
       {},
       {u"<body style='background-color: 0;font-size:14px;'><h3 style='text-align :center;'>"
        u"山区小学的第一堂编程课</h1><p style='font-size:12px;text-align :center;'>"
        u"2026年12月09日 09:15 乡村教育观察</p>",
        u"<p>　　清晨七点，大山深处的小学", u"让他们相信，自己也能", u"学校计划明年再添置十台电脑",
        u"<img src=\"https://n.sinaimg.cn/k/classroom.jpg\" alt=\"课堂\">"
        u"<br /><span style='font-size:12px' >孩子们在上编程课</span>"},
       {u"分享到", u"推荐标题", u"相关推荐", u"网友评论", u"看点", u"blank.gif", u"sinaads",
        u"main-title"}},
      {"mobile.html",
       u"https://news.sina.cn/gn/2026-12-09/detail-inazqmkr1024301.d.html",
       {},
       {u"<h3 style='text-align :center;'>冬季供暖全面启动</h1>"
        u"<p style='font-size:12px;text-align :center;'>12-09 08:30 新华社</p>",
        u"北方多个城市已经提前启动集中供暖", u"开通了二十四小时服务热线",
        u"src=\"https://n.sinaimg.cn/news/heating.jpg\""},
       {u"广告", u"热门", u"手机新浪网", u"<html", u"weibo_user"}},
      {"column.html",
       u"https://news.sina.com.cn/zhuanlan/2026-12-08/column.shtml",
       {},
       {u"<h3 style='text-align :center;'>专栏：城市的夜晚为何越来越亮</h1>"
        u"<p style='font-size:12px;text-align :center;'>2026-12-08 20:00 特约评论员</p>",
        u"夜幕降临", u"也会干扰候鸟迁徙。<br><br>", u"是每座城市都要回答的问题。"},
       {u"排行", u"新闻首页", u"标签", u"Copyright", u"新浪新闻"}},
      {"slide.html",
       u"https://slide.news.sina.com.cn/w/slide_1_12345_100.html",
       {},
       {u"<h3 style='text-align :center;'>高清：雪后故宫</h1>"
        u"<div class=\"img_wrapper\"><img src=\"https://n.sinaimg.cn/slide/snow1.jpg\" alt=\"\">"
        u"<br /><span style='font-size:12px' >雪后的故宫角楼。</span></div>"
        u"<div class=\"img_wrapper\"><img src=\"https://n.sinaimg.cn/slide/snow2.jpg\" alt=\"\">"
        u"<br /><span style='font-size:12px' >游客拍照 &lt;留念&gt;</span></div>"
        u"<div class=\"img_wrapper\"><img src=\"https://n.sinaimg.cn/slide/snow4.jpg\" "
        u"alt=\"\"></div></body>"},
       {u"javascript:", u"坏地址", u"图片首页", u"新浪图片"}},
      {"video.html",
       u"https://video.sina.com.cn/p/news/2026-12-09/detail-iabc.d.html",
       {},
       {u"<h3 style='text-align :center;'>航拍黄河入海口</h1><p>无人机镜头下，黄河与渤海交汇",
        u"<img src=\"https://n.sinaimg.cn/video/yellow-river.jpg\""},
       {u"推荐视频", u"视频首页", u"<a href=\"", u"<video"}},
      {"video.html",
       u"https://video.sina.com.cn/p/news/2026-12-09/detail-iabc.d.html",
       {1, 1, u"0", 14},
       {u"<a href=\"https://video.sina.com.cn/p/news/2026-12-09/detail-iabc.d.html\" "
        u"target=\"_blank\"><img src=\"https://n.sinaimg.cn/video/yellow-river.jpg\" alt=\"\">"
        u"<br />视频：航拍黄河入海口</a>"},
       {u"推荐视频", u"<video"}},
      {"nav_only.html", u"https://news.sina.com.cn/roll/list.shtml", {}, {}, {}, true},
      {"text 990 elements deep",
       u"https://k.sina.com.cn/article_1_2.html",
       {},
       {u"<p>　　深处的正文，也要一字不差地读出来，不能丢掉，哪怕它藏在九百九十层之下。</p>"},
       {},
       false,
       TodayPage(
           kUtf8Meta,
           Deep(990,
                "<p>　　深处的正文，也要一字不差地读出来，不能丢掉，哪怕它藏在九百九十层之下。</"
                "p>"))},
      {"video page with a player, video shown",
       u"https://video.sina.com.cn/p/1.html",
       {1, 1, u"0", 14},
       {u"<video controls preload=\"none\" src=\"https://v.sinaimg.cn/a.mp4\" "
        u"poster=\"https://n.sinaimg.cn/p.jpg\""},
       {u"<img", u"<a href=\""},
       false,
       TodayPage(kUtf8Meta + "<meta property=\"og:title\" content=\"播放\">",
                 "<video src=\"//v.sinaimg.cn/a.mp4\" poster=\"//n.sinaimg.cn/p.jpg\"></video>")},
      {"video page with a player, video hidden",
       u"https://video.sina.com.cn/p/1.html",
       {},
       {u"<img src=\"https://n.sinaimg.cn/p.jpg\""},
       {u"<video", u"a.mp4"},
       false,
       TodayPage(kUtf8Meta + "<meta property=\"og:title\" content=\"播放\">",
                 "<video src=\"//v.sinaimg.cn/a.mp4\" poster=\"//n.sinaimg.cn/p.jpg\"></video>")},
  };
  for (const Case& c : cases) {
    const Rendered r =
        Render(c.url, c.page.empty() ? ReaderFixture(c.fixture) : c.page, "text/html", c.settings);
    if (c.failure) {
      EXPECT_EQ(r.html, ArticleFailurePage(c.url)) << c.fixture;
      continue;
    }
    for (const auto& text : c.shows) {
      EXPECT_NE(r.html.find(text), std::u16string::npos) << c.fixture << ": " << Utf16ToUtf8(text);
    }
    std::vector<std::u16string> hides = c.hides;
    hides.insert(hides.end(), navigationAndFooters.begin(), navigationAndFooters.end());
    for (const auto& text : hides) {
      EXPECT_EQ(r.html.find(text), std::u16string::npos) << c.fixture << ": " << Utf16ToUtf8(text);
    }
    EXPECT_EQ(r.statuses.back(), u"状态：空闲") << c.fixture;
    EXPECT_EQ(r.downloads, 1) << c.fixture;
  }
}

TEST(GeneralReading, BrokenGalleryDataFallsBackToTheMainText) {
  const std::string story =
      "<div class=\"txt\"><p>　　这是一篇图集页面上的文字说明，介绍了拍摄的时间、地点和经过，"
      "读者可以从中了解背景。</p></div>";
  const std::string deep = std::string(40, '[') + std::string(40, ']');
  for (const std::string& script :
       {std::string("var slide_data = {\"images\": " + deep + "};"),
        std::string("var slide_data = {\"images\": [{\"download_img\": \"//n.sinaimg.cn/a.jpg\""),
        std::string("var slide_data = {images: ['//n.sinaimg.cn/a.jpg']};")}) {
    const Rendered r =
        Render(u"https://slide.news.sina.com.cn/w/slide_1.html",
               TodayPage(kUtf8Meta + "<script>" + script + "</script>", story), "text/html");
    EXPECT_NE(r.html.find(u"这是一篇图集页面上的文字说明"), std::u16string::npos) << script;
    EXPECT_EQ(r.html.find(u"a.jpg"), std::u16string::npos) << script;
  }
}

// A mobile page the general reading finds nothing in is shown whole, as every page outside
// PortalDomain is.
TEST(GeneralReading, MobilePageWithoutTextKeepsTheWholePage) {
  const Rendered r =
      Render(u"https://sina.cn/index.d.html",
             TodayPage(kUtf8Meta, "<ul><li><a href=\"/1\">链接</a></li></ul>"), "text/html");
  EXPECT_NE(r.html.find(u"<div class=\"top-bar\">"), std::u16string::npos);
  EXPECT_NE(r.html.find(u"<ul><li><a href=\"/1\">"), std::u16string::npos);
}

TEST(GeneralReading, TitleWithoutTheSiteName) {
  const struct {
    std::string_view title, expected;
  } cases[] = {
      {"标题_新浪网", "标题"},
      {"标题|新浪新闻", "标题"},
      {"标题_新浪财经_新浪网", "标题"},
      {"标题 - Sina", "标题"},
      {"上海_北京 双城记_新浪网", "上海_北京 双城记"},
      {"新浪网", "新浪网"},
      {"  标题  ", "标题"},
      {"A|B", "A|B"},
  };
  for (const auto& c : cases) EXPECT_EQ(WithoutSiteName(c.title), c.expected) << c.title;
}

// Names that mark clutter by a whole word only must not catch the words they hide in.
TEST(GeneralReading, ClutterNames) {
  const HtmlPage html(
      "<div data-clutter=1 class=\"top-nav\"></div><div data-clutter=1 id=\"left_hzh_ad\"></div>"
      "<div data-clutter=1 class=\"hot_list\"></div><div data-clutter=1 class=\"Related-News\">"
      "</div><div data-clutter=1 sax-type=\"proxy\"></div><footer data-clutter=1></footer>"
      "<div data-clutter=1 class=\"zt_tags\"></div><div data-clutter=1 id=\"comment_box\"></div>"
      "<div data-clutter=0 class=\"photo_box\"></div><div data-clutter=0 class=\"head-line\"></div>"
      "<div data-clutter=0 class=\"main-content\"></div><div data-clutter=0 "
      "class=\"article\"></div>"
      "<div data-clutter=0 class=\"football-news\"></div><div data-clutter=0 "
      "class=\"loaded\"></div>"
      "<div data-clutter=0 class=\"art_content\"></div>");
  struct Check : HtmlVisitor {
    bool Enter(const HtmlElement& element) override {
      const std::string_view expected = element.Attribute("data-clutter");
      if (!expected.empty()) {
        ++checked;
        EXPECT_EQ(IsNamedAsClutter(element), expected == "1")
            << element.Attribute("class") << element.Attribute("id");
      }
      return true;
    }
    void Text(std::string_view) override {}
    void Leave(const HtmlElement&) override {}
    int checked = 0;
  } check;
  html.Walk(check);
  EXPECT_EQ(check.checked, 15);
}

}  // namespace
}  // namespace langxing
