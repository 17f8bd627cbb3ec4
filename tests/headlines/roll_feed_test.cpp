// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlines/roll_feed.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/text.hpp"
#include "reader/article_address.hpp"

namespace langxing {
namespace {

using Entries = std::vector<std::u16string>;

// A feed answer in today's format with the given code and raw JSON items.
std::string Feed(const std::string& items, int code = 0) {
  return R"({"result":{"status":{"code":)" + std::to_string(code) +
         R"(,"msg":"succ"},"timestamp":"Wed Dec 09 08:00:00 +0800 2026","total":3,"lid":"2510",)"
         R"("data":[)" +
         items + "]}}";
}

std::string Item(const std::string& title, const std::string& url) {
  return R"({"docid":"comos:abc","title":)" + title + R"(,"stitle":"短","url":)" + url +
         R"(,"wapurl":"https:\/\/news.sina.cn\/x","intro":"…","ctime":"1765238400",)"
         R"("images":[{"u":"https:\/\/n.sinaimg.cn\/a.jpg","title":"图"}]})";
}

TEST(RollFeed, ItemsBecomeEntriesWhoseLinkOpensTheItemsUrl) {
  const std::string a = R"("https:\/\/news.sina.com.cn\/c\/2026-12-09\/doc-inaaaaaa.shtml")";
  const std::string b = R"("http://finance.sina.com.cn/roll/doc-inbbbbbb.shtml?url=x")";
  const std::u16string aUrl = u"https://news.sina.com.cn/c/2026-12-09/doc-inaaaaaa.shtml";
  struct Case {
    const char* name;
    std::string json;
    Entries entries;
  } cases[] = {
      {"feed order, escapes decoded",
       Feed(Item(R"("\u56fd\u52a1\u9662\u5e38\u52a1\u4f1a\u8bae")", a) + "," + Item(R"("乙")", b)),
       {u"国务院常务会议;url=" + aUrl,
        u"乙;url=http://finance.sina.com.cn/roll/doc-inbbbbbb.shtml?url=x"}},
      {"semicolons stay in the title", Feed(Item(R"("甲；乙;丙")", a)), {u"甲；乙;丙;url=" + aUrl}},
      {"entities decoded, tags kept as text",
       Feed(Item(R"("&quot;双碳&quot; &amp; 能源&#x4E2D;&#22269;&lt;b&gt;&bogus;")", a)),
       {u"\"双碳\" & 能源中国<b>&bogus;;url=" + aUrl}},
      {"references past U+FFFF decoded; surrogates, hex digits in decimal left as text",
       Feed(Item(R"("&#x1f600;&#128512;&#xDFFF;&#12a;")", a)),
       {u"\U0001F600\U0001F600&#xDFFF;&#12a;;url=" + aUrl}},
      {"line breaks and blanks become one blank",
       Feed(Item(R"(" \r\n第一行\n\n第二行\t&#10;第三行\u2028 ")", a)),
       {u"第一行 第二行 第三行;url=" + aUrl}},
      {"a url= in the title cannot take the link's place",
       Feed(Item(R"("看url=这里")", a)),
       {u"看url＝这里;url=" + aUrl}},
      {"no url, empty, not http(s) or not a string: left out",
       Feed(Item(R"("甲")", R"("")") + "," + Item(R"("乙")", R"j("javascript:alert(1)")j") + "," +
            Item(R"("丙")", "null") + "," + Item(R"("丁")", R"("https:///x")") + "," +
            R"({"title":"戊"})"),
       {}},
      {"no title or a blank one: left out",
       Feed(Item(R"("")", a) + "," + Item(R"(" \n ")", a) + "," + Item("42", a)),
       {}},
      {"url outside the portal is kept, quotes and blanks encoded",
       Feed(Item(R"("外")", R"("  HTTPS://www.example.org/a \"b\"\n/c  ")")),
       {u"外;url=HTTPS://www.example.org/a%20%22b%22/c"}},
      {"code 11, no data",
       R"({"result":{"status":{"code":11,"msg":"列表和页面没有经过注册"}}})",
       {}},
      {"code other than 0 with data", Feed(Item(R"("甲")", a), 1), {}},
      {"code as a string 0",
       R"({"result":{"status":{"code":"0"},"data":[)" + Item(R"("甲")", a) + "]}}",
       {u"甲;url=" + aUrl}},
      {"no status", R"({"result":{"data":[)" + Item(R"("甲")", a) + "]}}", {}},
      {"data not an array",
       R"({"result":{"status":{"code":0},"data":{"title":"甲","url":)" + a + "}}}",
       {}},
      {"the last data counts",
       R"({"result":{"status":{"code":0},"data":[)" + Item(R"("旧")", a) + R"(],"data":[)" +
           Item(R"("新")", a) + "]}}",
       {u"新;url=" + aUrl}},
      {"byte-order mark and blanks around",
       "\xEF\xBB\xBF\r\n " + Feed(Item(R"("甲")", a)) + "\n",
       {u"甲;url=" + aUrl}},
      {"truncated", Feed(Item(R"("甲")", a)).substr(0, 120), {}},
      {"truncated after a whole item",
       Feed(Item(R"("甲")", a) + "," + Item(R"("乙")", a)).substr(0, 400),
       {}},
      {"not JSON", "<html><body>403 Forbidden</body></html>", {}},
      {"JSONP", "cb(" + Feed(Item(R"("甲")", a)) + ");", {}},
      {"empty", "", {}},
      {"invalid UTF-8 in a string", Feed(Item("\"\xff\xfe\"", a)), {}},
      {"nested deeper than the bound", std::string(100'000, '[') + std::string(100'000, ']'), {}},
      {"an item nested past the bound",
       Feed(R"({"title":"甲","url":)" + a + R"(,"x":)" + std::string(70, '[') +
            std::string(70, ']') + "}"),
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Entries entries = RollFeedEntries(c.json);
    EXPECT_EQ(entries, c.entries);
  }
  // Opening an entry (the headline list's address rule) gives the item's url.
  EXPECT_EQ(ArticleUrlOfItem(RollFeedEntries(cases[0].json).at(0)), aUrl);
  EXPECT_EQ(ArticleUrlOfItem(RollFeedEntries(cases[0].json).at(1)),
            u"http://finance.sina.com.cn/roll/doc-inbbbbbb.shtml?url=x");
  EXPECT_EQ(ArticleUrlOfItem(RollFeedEntries(cases[4].json).at(0)), aUrl);
}

// The list shows when each item was published: its ctime, a string of seconds as the feed
// writes it or a number; anything else is no time, and the entry stays.
TEST(RollFeed, EachEntryCarriesItsItemsPublishingTime) {
  const std::string url = R"("https://news.sina.com.cn/c/doc-ia.shtml")";
  const auto item = [&](const std::string& ctime) {
    return R"({"title":"甲","url":)" + url + (ctime.empty() ? "" : R"(,"ctime":)" + ctime) + "}";
  };
  const struct {
    std::string ctime;
    std::optional<std::int64_t> published;
  } cases[] = {
      {R"("1796774400")", 1796774400},
      {"1796774400", 1796774400},
      {"", std::nullopt},
      {R"("")", std::nullopt},
      {R"("17967x")", std::nullopt},
      {R"("0")", std::nullopt},
      {"-5", std::nullopt},
      {"null", std::nullopt},
      {"1.5e9", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ctime);
    const auto items = RollFeedItems(Feed(item(c.ctime)));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].entry, u"甲;url=https://news.sina.com.cn/c/doc-ia.shtml");
    EXPECT_EQ(items[0].published, c.published);
  }
}

TEST(RollFeed, ALargeFeedGivesEveryItem) {
  // 10,000 items in about 2 MiB, every one kept in order.
  std::string items;
  const std::string title = std::string(R"(")") + std::string(40, 'x') + "标题" + R"(")";
  for (int i = 0; i < 10'000; ++i) {
    if (i) items += ',';
    items += Item(title, R"("https://news.sina.com.cn/c/doc-i)" + std::to_string(i) + R"(.shtml")");
  }
  const std::string json = Feed(items);
  ASSERT_GT(json.size(), 2'000'000u);
  const Entries entries = RollFeedEntries(json);
  ASSERT_EQ(entries.size(), 10'000u);
  EXPECT_TRUE(entries.back().ends_with(u"doc-i9999.shtml"));
  EXPECT_TRUE(entries.front().ends_with(u"doc-i0.shtml"));
}

}  // namespace
}  // namespace langxing
