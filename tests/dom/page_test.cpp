// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "core/html_charset.hpp"
#include "core/html_doctype.hpp"
#include "core/html_document.hpp"
#include "core/html_nesting.hpp"
#include "core/html_serializer.hpp"
#include "core/text.hpp"
#include "tests/portal/test_portal.hpp"

namespace langxing {
namespace {

struct SniffCase {
  const char* name;
  std::string bytes;
  const char* contentType;
  Charset expected;
};

TEST(SniffPageCharset, HeaderThenByteOrderMarkThenMetaThenGbk) {
  const std::string utf8Meta = "<html><head><meta charset=\"utf-8\"></head>";
  const std::string gbkMeta =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";
  const SniffCase cases[] = {
      {"header wins over meta", gbkMeta, "text/html; charset=UTF-8", Charset::Utf8},
      {"header gb2312", utf8Meta, "text/html;charset=gb2312", Charset::Gbk},
      {"quoted header label", "", "text/html; charset=\"utf-8\"", Charset::Utf8},
      {"unknown header label falls through to meta", utf8Meta, "text/html; charset=bogus",
       Charset::Utf8},
      {"bom when the header names nothing", "\xEF\xBB\xBF" + gbkMeta, "text/html", Charset::Utf8},
      {"meta charset", utf8Meta, "", Charset::Utf8},
      {"meta pragma any case", "<META HTTP-EQUIV=Content-Type CONTENT='text/html; CHARSET=UTF-8'>",
       "", Charset::Utf8},
      {"meta pragma unquoted", "<meta http-equiv=content-type content=text/html;charset=utf-8>", "",
       Charset::Utf8},
      {"meta gb2312", "<meta charset=utf8x><meta charset=GB2312>", "", Charset::Gbk},
      {"content without pragma ignored", "<meta content=\"text/html; charset=utf-8\">", "",
       Charset::Gbk},
      {"meta in a comment ignored", "<!-- <meta charset=utf-8> --><p>", "", Charset::Gbk},
      {"meta inside an attribute value ignored", "<div title=\"<meta charset=utf-8>\">", "",
       Charset::Gbk},
      {"utf-16 in meta means utf-8", "<meta charset=utf-16le>", "", Charset::Utf8},
      {"meta past the first 1024 bytes ignored", std::string(1024, ' ') + utf8Meta, "",
       Charset::Gbk},
      {"nothing named", "<p>新浪</p>", "text/html", Charset::Gbk},
      {"empty", "", "", Charset::Gbk},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SniffPageCharset(c.bytes, c.contentType), c.expected) << c.name;
}

TEST(DecodePage, DecodesByWhatThePageSays) {
  EXPECT_EQ(DecodePage(testportal::ToGbk("<meta charset=gb2312>新浪网"), ""),
            u"<meta charset=gb2312>新浪网");
  EXPECT_EQ(DecodePage("\xEF\xBB\xBF<p>\xE6\x96\xB0", "text/html"), u"<p>新");
  EXPECT_EQ(DecodePage(std::string("\xFF\xFE<\0p\0>\0\xB0\x65", 10), ""), u"<p>新");
  EXPECT_EQ(DecodePage(std::string("\xFE\xFF\0<\0p\0>\x65\xB0", 10), ""), u"<p>新");
  // A bad unit is one U+FFFD, and the text after it stays aligned.
  const struct {
    std::string bytes;
    std::u16string text;
  } utf16[] = {
      {std::string("\xFF\xFE\x00\xD8\x00\xD8<\0p\0>\0", 12), u"\uFFFD\uFFFD<p>"},
      {std::string("\xFF\xFE\x00\xDC"
                   "a\0\x3D\xD8\x00\xDEz",
                   11),
       u"\uFFFDa\U0001F600\uFFFD"},
      {std::string("\xFE\xFF\xD8\x00\0a\xDB\xFF", 8), u"\uFFFDa\uFFFD"},
  };
  for (const auto& c : utf16) EXPECT_EQ(DecodePage(c.bytes, ""), c.text) << Utf16ToUtf8(c.text);
  // A UTF-16 page is markup, not binary, for all its NUL bytes.
  EXPECT_EQ(BodyTextsOfPage(std::string("\xFF\xFE<\0p\0>\0\xB0\x65", 10), "").innerHtml,
            u"<P>新</P>");
}

// A headline page in the portal's old layout: lower-case tags, loose quoting, CR LF and tab
// indentation between every tag, served as GBK.
std::string OldLayoutListing() {
  std::string page =
      "<html>\r\n<head>\r\n<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\">\r\n"
      "<title>滚动新闻</title>\r\n</head>\r\n<body bgcolor=#ffffff topmargin=0>\r\n<center>\r\n"
      "\t<table width=750 border=0 cellspacing=0 cellpadding=0>\r\n"
      "\t\t<tr bgcolor=\"#EEEEEE\">\r\n\t\t\t<td height=25 align=center><font color=#FF0000>"
      "滚动新闻</font></td>\r\n\t\t</tr>\r\n";
  for (int i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    page +=
        "\t\t<tr>\r\n\t\t\t<td style=\"padding-left:5px;padding-top:5px\" height=\"30\"><b>标题" +
        n +
        " &amp; 更多</b></td>\r\n\t\t</tr>\r\n\t\t<tr>\r\n\t\t\t<td><span class=f12>"
        "<a target=_blank href=http://news.sina.com.cn/c/2008-01-0" +
        n + "/" + n + ".shtml>http://news.sina.com.cn/c/2008-01-0" + n + "/" + n +
        ".shtml</a></span></td>\r\n\t\t</tr>\r\n";
  }
  page +=
      "\t\t<tr>\r\n\t\t\t<td height=20></td>\r\n\t\t</tr>\r\n\t</table>\r\n</center>\r\n"
      "</body>\r\n</html>\r\n";
  return testportal::ToGbk(page);
}

TEST(BodyTextsOfPage, OldLayoutListingCarriesTheScraperMarkers) {
  const std::u16string html = BodyTextsOfPage(OldLayoutListing(), "text/html").innerHtml;
  for (const char16_t* marker :
       {u"<TR bgColor=#eeeeee>", u"<TD style=\"PADDING-LEFT: 5px; PADDING-TOP: 5px\" height=30><B>",
        u"</B></TD></TR>", u"</SPAN></TD></TR>", u"<A href=", u"target=_blank>http",
        u"<TD height=20></TD></TR></TBODY></TABLE></CENTER>"}) {
    EXPECT_TRUE(Contains(html, marker)) << Utf16ToUtf8(marker);
  }
  // Cut the page the way the headline scraper does.
  const std::u16string region = ExtractBetween(
      html, u"<TR bgColor=#eeeeee>", u"<TD height=20></TD></TR></TBODY></TABLE></CENTER>");
  const auto pieces = SplitAll(region, u"</SPAN></TD></TR>");
  ASSERT_EQ(pieces.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    const std::u16string n = Utf8ToUtf16(std::to_string(i + 1));
    EXPECT_EQ(ExtractBetween(pieces[i],
                             u"<TD style=\"PADDING-LEFT: 5px; PADDING-TOP: 5px\" height=30><B>",
                             u"</B></TD></TR>"),
              u"标题" + n + u" &amp; 更多");
    EXPECT_EQ(ExtractBetween(pieces[i], u"<A href=", u"target=_blank>http"),
              u"\"http://news.sina.com.cn/c/2008-01-0" + n + u"/" + n + u".shtml\" ");
  }
  EXPECT_EQ(pieces[3], u"\r\n<TR>\r\n");
}

TEST(BodyTextsOfPage, ReadsTheVisibleTextOfAGbkPage) {
  const BodyTexts texts = BodyTextsOfPage(
      testportal::ToGbk(
          "<html><head><title>t</title></head><body>\r\n<p>&lt;new&gt;1.3&lt;/new&gt;</p>\r\n"
          "<p>&lt;newMsg&gt;新版本&lt;/newMsg&gt;</p>\r\n</body></html>"),
      "text/html; charset=GBK");
  EXPECT_EQ(texts.innerText, u"<new>1.3</new>\r\n<newMsg>新版本</newMsg>");
}

TEST(BodyTextsOfPage, NonPagesGiveEmptyTexts) {
  const char pngHeader[] = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10";
  const std::string png(pngHeader, sizeof pngHeader - 1);
  const struct {
    const char* name;
    std::string bytes;
    const char* contentType;
  } cases[] = {
      {"empty", "", "text/html"},
      {"png bytes", png + "<p>text</p>", ""},
      {"image content type", "<p>text</p>", "image/gif"},
      {"frameset page", "<html><frameset><frame src=a.html></frameset></html>", "text/html"},
  };
  for (const auto& c : cases) {
    const BodyTexts texts = BodyTextsOfPage(c.bytes, c.contentType);
    EXPECT_EQ(texts.innerHtml, u"") << c.name;
    EXPECT_EQ(texts.innerText, u"") << c.name;
  }
  // A page whose body is empty is still a page.
  EXPECT_EQ(BodyTextsOfPage("<html><body></body></html>", "").innerHtml, u"");
  EXPECT_EQ(BodyTextsOfPage("<p>x</p>", "text/html").innerHtml, u"<P>x</P>");
}

TEST(BodyTextsOfPage, SurvivesArbitraryInput) {
  std::mt19937 random(20240601);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 4096, '\0');
    for (char& b : bytes) {
      // Mostly markup characters and high bytes, so the parser sees tags as well as garbage.
      const char alphabet[] = "<>/=\"' abpdivtr&;#!-\xD0\xC2\xFF\x80\r\n";
      b = random() % 4 == 0 ? static_cast<char>(random())
                            : alphabet[random() % (sizeof alphabet - 1)];
    }
    BodyTextsOfPage(bytes, round % 2 == 0 ? "text/html; charset=utf-8" : "");
  }
  // Lone surrogates in decoded text.
  const std::u16string broken =
      u"<p>a\xD800"
      u"b\xDC00<b>\xDBFF</b>";
  EXPECT_EQ(Utf16ToUtf8(SerializeBody(broken).innerHtml),
            "<P>a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD<B>\xEF\xBF\xBD</B></P>");
}

std::size_t CountOf(std::u16string_view text, std::u16string_view needle) {
  std::size_t count = 0;
  for (std::size_t at = text.find(needle); at != std::u16string_view::npos;
       at = text.find(needle, at + needle.size())) {
    ++count;
  }
  return count;
}

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// The deepest nesting of elements in serialised markup (void elements and text aside).
std::size_t NestingOf(std::u16string_view html) {
  static const std::u16string_view kVoid[] = {u"BR",   u"IMG", u"HR",   u"INPUT", u"META",
                                              u"LINK", u"COL", u"AREA", u"PARAM", u"EMBED"};
  std::size_t depth = 0, deepest = 0;
  for (std::size_t at = html.find(u'<'); at != std::u16string_view::npos;
       at = html.find(u'<', at + 1)) {
    if (html.substr(at, 4) == u"<!--") continue;
    if (at + 1 < html.size() && html[at + 1] == u'/') {
      --depth;
      continue;
    }
    const std::size_t end = html.find_first_of(u" >", at);
    const auto name = html.substr(at + 1, end - at - 1);
    if (std::find(std::begin(kVoid), std::end(kVoid), name) != std::end(kVoid)) continue;
    deepest = std::max(deepest, ++depth);
  }
  return deepest;
}

TEST(BodyTextsOfPage, DeepNestingIsCutNotOverflowed) {
  const html::MarkupLimits limits;
  // A million elements deep, parsed and freed whatever the depth.
  const BodyTexts cut = BodyTextsOfPage(Repeat("<div>", 1'000'000) + "x", "text/html");
  EXPECT_EQ(CountOf(cut.innerHtml, u"<DIV>"), limits.maxDepth);
  EXPECT_EQ(CountOf(cut.innerHtml, u"</DIV>"), limits.maxDepth);
  // End tags that close nothing do not make room.
  const BodyTexts objects = BodyTextsOfPage("<body>" + Repeat("<object></x>", 300'000), "");
  EXPECT_LE(NestingOf(objects.innerHtml), limits.maxDepth);
  EXPECT_GT(NestingOf(objects.innerHtml), limits.maxDepth / 2);

  EXPECT_EQ(BodyTextsOfPage(Repeat("<span>", 900) + "x", "text/html").innerText, u"x");
}

// Pages the guard must cut with a small depth limit, and pages it must leave whole: what the
// parser keeps open decides, read the way the HTML tokenizer reads markup.
TEST(PrepareMarkup, CountsWhatTheParserKeepsOpen) {
  struct Case {
    const char* name;
    std::string page;
    bool cut;
  };
  const Case cases[] = {
      {"closed elements", Repeat("<div><div></div></div>", 200), false},
      {"implied ends", Repeat("<p>a<p>b<li>c<li>d<br><img src=x><dl><dt>e<dd>f</dl>", 200), false},
      {"options", "<select>" + Repeat("<optgroup><option>a<option>b</optgroup>", 200), false},
      {"table without end tags", "<table>" + Repeat("<tr><td>a<td>b<th>c", 200), false},
      {"nested tables", Repeat("<table><tr><td>x</td></tr></table>", 200), false},
      {"misnested bold", Repeat("<b><p>x</b>y</p>", 200), false},
      {"unclosed fonts in paragraphs", Repeat("<p><font color=red>x", 200), false},
      {"script text", "<script>" + Repeat("s+='<div>';", 200) + "</script>", false},
      {"comment", "<!--" + Repeat("<div>", 200) + "-->", false},
      {"quoted '>'", Repeat("<i title='>'></i>", 200), false},
      {"foreign self-closing", "<svg>" + Repeat("<path d='M0'/>", 200) + "</svg>", false},
      {"end tags closing nothing", Repeat("<object></x>", 200), true},
      {"unmatched end of a div", Repeat("<div></x>", 200), true},
      {"abrupt comments", Repeat("<!--><div>", 200), true},
      {"comments ended by --!>", Repeat("<!-- --!><div>", 200), true},
      {"quote inside a name", Repeat("<div a\"><div>", 200), true},
      {"form end keeps its content", Repeat("<form><div></form>", 200), true},
      {"formatting elements reopened", "<div>" + Repeat("<b id=1></div><div><b id=2></div>", 100),
       true},
      {"style inside svg", "<svg><style>" + Repeat("<g>", 200), true},
      {"style ignored in a select", "<select><style></select>" + Repeat("<div>", 200), true},
      {"bogus comment", Repeat("<?x><div>", 200), true},
      {"cells in templates", Repeat("<table><th><template><t><d><td><d>", 100), true},
      {"an SVG title closed, then an SVG style", "<svg><title></title><style>" + Repeat("<g>", 200),
       true},
      // An unknown name whose 64-bit FNV-1a hash is that of "br": a guard that looked tags up by
      // such a hash took it for a void element and let it nest without bound.
      {"unknown name hashing like br", Repeat("<not-br-.7m9ik.jipbp.47h39.0h7o6>", 200), true},
      {"an SVG end tag closes only its own name", "<svg>" + Repeat("<g><a1></a2>", 60), true},
      // The parser closes a select in a cell at a <table>; a later <select> closes no other.
      {"tables after selects in cells",
       "<table><td>" + Repeat("<x><select><table><td>", 40) + "<select>", true},
  };
  html::MarkupLimits limits;
  limits.maxDepth = 100;
  for (const Case& c : cases) {
    const html::PreparedMarkup markup = html::PrepareMarkup(c.page, limits);
    EXPECT_EQ(markup.cut, c.cut) << c.name;
    if (c.cut) {
      // Where the guard cut, the parser's tree is at most as deep as allowed.
      const BodyTexts texts = SerializeBodyUtf8(std::string(markup.text));
      EXPECT_LE(NestingOf(texts.innerHtml), limits.maxDepth + 2) << c.name;
    }
  }
}

TEST(PrepareMarkup, BoundsAttributesAndItems) {
  html::MarkupLimits limits;
  limits.maxAttributesPerElement = 3;
  limits.maxItems = 50;
  const auto few = html::PrepareMarkup("<p a=1 b=\"2\" c d='4' e=5>x</p>", limits);
  EXPECT_FALSE(few.cut);
  EXPECT_EQ(Utf16ToUtf8(SerializeBodyUtf8(std::string(few.text)).innerHtml),
            "<P a=\"1\" b=\"2\" c>x</P>");

  const std::string many = Repeat("<i>x</i>", 40);
  const auto cut = html::PrepareMarkup(many, limits);
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(cut.text, many.substr(0, 25 * 8));
}

// An SVG or MathML element named like a table part, select or template, still open when the
// parser closes a table, select or template, made the parser abort: the guard renames it. The
// same elements are left alone where they are closed first, and so is inline SVG in tables.
TEST(PrepareMarkup, RenamesForeignElementsTheParserWouldTakeForHtml) {
  struct Case {
    const char* page;
    const char* prepared;
  };
  const Case cases[] = {
      {"<table><svg><td><title><select></table>", "<table><svg><td-><title><select></table>"},
      {"<table><svg><th><title><select></table>", "<table><svg><th-><title><select></table>"},
      {"<table><svg><tr><desc><select></table>", "<table><svg><tr-><desc><select></table>"},
      {"<table><svg><TD class=x><title><select></table>",
       "<table><svg><TD- class=x><title><select></table>"},
      {"<table><svg><select><title><select></table><td>",
       "<table><svg><select-><title><select></table><td>"},
      // An annotation-xml without an HTML encoding holds MathML.
      {"<table><math><annotation-xml><td><mi><select></table>",
       "<table><math><annotation-xml><td-><mi><select></table>"},
      {"<table><math><annotation-xml encoding=text/html><td><mi><select></table>",
       "<table><math><annotation-xml encoding=text/html><td><mi><select></table>"},
      // An <svg> inside SVG is SVG, so its <title> lets the <select> in.
      {"<table><option><svg><svg><select><title><body><select><table>",
       "<table><option><svg><svg><select-><title><body><select><table>"},
      {"<template><svg><td><title><select></template>",
       "<template><svg><td-><title><select></template>"},
      {"<svg><td>a</td><select>b</select></svg>", "<svg><td>a</td><select>b</select></svg>"},
      {"<table><svg><td></td><title><select></table>",
       "<table><svg><td></td><title><select></table>"},
      {"<table><svg><td/><title><select></table>", "<table><svg><td/><title><select></table>"},
      {"<table><tr><td><svg><title>a</title><desc>d</desc><g><path d='M0'/><text>t</text></g>"
       "</svg></td></tr></table>",
       "<table><tr><td><svg><title>a</title><desc>d</desc><g><path d='M0'/><text>t</text></g>"
       "</svg></td></tr></table>"},
      // Pages found by fuzzing that made the parser abort.
      {"</select><table></tr><mi><svg><select><title><select><annotation-xml><mi><td><caption>",
       "</select><table></tr><mi><svg><select-><title><select><annotation-xml><mi><td><caption>"},
      {"</table><table><svg><select><desc><select><td/><th><mi><table></template>",
       "</table><table><svg><select-><desc><select><td/><th><mi><table></template>"},
      {"<body><table><select><desc><table><math><math></svg><th><mi><select></table>",
       "<body><table><select><desc><table><math><math></svg><th-><mi><select></table>"},
      {"<body><table><svg><select><select><title><p><select><th></table>",
       "<body><table><svg><select-><select-><title><p><select><th></table>"},
      {"<body><table><svg><td><desc><select></table><tr><select>",
       "<body><table><svg><td-><desc><select></table><tr><select>"},
      {"<frame><col><table><svg><svg><annotation-xml><TD><title><select></table><title><td/></"
       "desc><th>",
       "<frame><col><table><svg><svg><annotation-xml><TD-><title><select></table><title><td/></"
       "desc><th>"},
      {"<option><table><svg><th><desc><select><frameset></table><math>",
       "<option><table><svg><th-><desc><select><frameset></table><math>"},
      {"<p><table><svg><tbody><html><select><foreignObject></"
       "tr><select><foreignObject><table><select>",
       "<p><table><svg><tbody-><html-><select-><foreignObject></"
       "tr><select><foreignObject><table><select>"},
      {"<table></template></tr><desc><option><svg><svg><select><title><body><select><table>",
       "<table></template></tr><desc><option><svg><svg><select-><title><body><select><table>"},
      {"<table></template><html><svg><th><foreignObject><html><input><select></table>",
       "<table></template><html><svg><th-><foreignObject><html><input><select></table>"},
      {"<table><math><select><option><mi><select><math><title></td><frameset><table><select>",
       "<table><math><select-><option><mi><select><math><title></td><frameset><table><select>"},
      {"<table><svg><caption><tr><th><input><colgroup><td><svg><foreignObject><select></table>",
       "<table><svg><caption-><tr-><th-><input><colgroup-><td-><svg><foreignObject><select></"
       "table>"},
      {"<table><svg><mglyph><TD><select><desc></template><b><select><colgroup></svg><th></"
       "mi><math>",
       "<table><svg><mglyph><TD-><select-><desc></template><b><select><colgroup></svg><th></"
       "mi><math>"},
      {"<table><svg><td><select><desc><select><tbody><frameset><input><td><th>",
       "<table><svg><td-><select-><desc><select><tbody><frameset><input><td><th>"},
      {"<table><svg><td><title><select><p></tr></table><tr>",
       "<table><svg><td-><title><select><p></tr></table><tr>"},
      {"<td/><table><desc><table><annotation-xml><math><html><tr><th><mi><select></table>",
       "<td/><table><desc><table><annotation-xml><math><html-><tr-><th-><mi><select></table>"},
      {"<td><td><table><svg><input>x<select><option><desc><select><th>",
       "<td><td><table><svg><input>x<select-><option><desc><select><th>"},
      {"<template><td><table><tr><math><select><foreignObject><mi><select></tr>",
       "<template><td><table><tr><math><select-><foreignObject><mi><select></tr>"},
      {"<table><th></th><svg></select></template>x<th><title><select><annotation-xml></tbody>"
       "<colgroup><th>",
       "<table><th></th><svg></select></template>x<th-><title><select><annotation-xml></tbody>"
       "<colgroup><th>"},
      {"<td/><thead><table><svg><select><title></b><select><title><keygen><caption>",
       "<td/><thead><table><svg><select-><title></b><select><title><keygen><caption>"},
      {"<table><svg><select><title></template>x<select><td><colgroup></th>",
       "<table><svg><select-><title></template>x<select><td><colgroup></th>"},
      {"<table><math></html><desc><select><annotation-xml encoding=text/html><select><svg>"
       "</desc><td></select>",
       "<table><math></html><desc><select-><annotation-xml encoding=text/html><select><svg>"
       "</desc><td-></select>"},
  };
  for (const Case& c : cases) {
    const html::PreparedMarkup markup = html::PrepareMarkup(c.page);
    EXPECT_EQ(markup.text, c.prepared) << c.page;
    SerializeBodyUtf8(c.page);  // aborted the process before
  }
}

TEST(PrepareMarkup, TakesTheModeFromTheStandardsListOfDoctypes) {
  using html::DocumentMode;
  struct Case {
    const char* doctype;
    DocumentMode mode;
  };
  const Case cases[] = {
      {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">", DocumentMode::Quirks},
      {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
       "\"http://www.w3.org/TR/html4/loose.dtd\">",
       DocumentMode::LimitedQuirks},
      {"<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">", DocumentMode::Quirks},
      {"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" \"x\">",
       DocumentMode::LimitedQuirks},
      {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"x\">", DocumentMode::NoQuirks},
      {"<!DOCTYPE html>", DocumentMode::NoQuirks},
      {"<!DOCTYPE html SYSTEM \"about:legacy-compat\">", DocumentMode::NoQuirks},
      {"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN>", DocumentMode::Quirks},
      {"<!DOCTYPE svg>", DocumentMode::Quirks},
      {"<!DOCTYPE>", DocumentMode::Quirks},
      {"", DocumentMode::Quirks},
  };
  for (const Case& c : cases) {
    const std::string page = std::string("<!-- x -->\n") + c.doctype + "<p>a<table><tr><td>b";
    const auto markup = html::PrepareMarkup(page);
    EXPECT_EQ(markup.mode, c.mode) << c.doctype;
    // Only quirks mode keeps the table inside the open paragraph.
    const std::u16string html = SerializeBodyUtf8(std::string(markup.text)).innerHtml;
    EXPECT_EQ(html.starts_with(u"<P>a\r\n<TABLE>"), c.mode == DocumentMode::Quirks)
        << c.doctype << "\n"
        << Utf16ToUtf8(html);
  }
}

}  // namespace
}  // namespace langxing
