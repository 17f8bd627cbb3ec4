// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/catalog.hpp"

#include <gtest/gtest.h>

#include <random>

#include "core/text.hpp"

namespace langxing {
namespace {

std::vector<std::u16string> ChildTexts(const CatalogNode& node) {
  std::vector<std::u16string> texts;
  for (const CatalogNode& child : node.children) texts.push_back(child.text);
  return texts;
}

const CatalogNode& Category(const CatalogNode& root, std::u16string_view name) {
  for (const CatalogNode& c : root.children)
    if (c.text == name) return c;
  throw std::runtime_error("no such category");
}

TEST(CatalogTree, ChannelsGoUnderEveryCategoryWhoseMarkerTheLineHolds) {
  const std::vector<std::u16string> lines = {
      u"体育新闻_国际足球--http://a/",
      u"前缀文字体育新闻_NBA--http://b/",  // marker not at the start
      u"体育新闻_财经新闻_X--http://c/",   // two markers
      u"体育新闻NBA--http://d/",           // name without "_": no category
      u"",
      u"财经新闻_无地址",               // no "--": empty channel text
      u"体育新闻_国际足球--http://e/",  // same name twice
  };
  const CatalogNode root = BuildCatalogTree(lines);
  EXPECT_EQ(ChildTexts(Category(root, u"体育新闻")),
            (std::vector<std::u16string>{u"国际足球", u"NBA", u"财经新闻_X", u"国际足球"}));
  EXPECT_EQ(ChildTexts(Category(root, u"财经新闻")),
            (std::vector<std::u16string>{u"财经新闻_X", u""}));
  EXPECT_TRUE(Category(root, u"新闻中心").children.empty());
}

TEST(CatalogTree, LfOnlyReadAsOneLineJoinsEveryCategoryItNames) {
  const std::vector<std::u16string> lines = {u"新闻中心_甲--http://a/\n体育新闻_乙--http://b/"};
  const CatalogNode root = BuildCatalogTree(lines);
  EXPECT_EQ(ChildTexts(Category(root, u"新闻中心")), std::vector<std::u16string>{u"甲"});
  EXPECT_EQ(ChildTexts(Category(root, u"体育新闻")), std::vector<std::u16string>{u"甲"});
}

TEST(CatalogTree, MembershipIsExactlyContainingTheMarker) {
  // Random lines built from pieces of markers; each category must list exactly the lines
  // that contain its name followed by "_", in order.
  std::mt19937 rng(2024);
  const std::u16string_view pieces[] = {u"体育新闻", u"体育", u"新闻",     u"_", u"__",
                                        u"--",       u"中心", u"新闻中心", u"x", u"财经新闻_"};
  std::vector<std::u16string> lines(400);
  for (std::u16string& line : lines)
    for (int k = rng() % 7; k > 0; --k) line += pieces[rng() % std::size(pieces)];
  const CatalogNode root = BuildCatalogTree(lines);
  for (std::size_t c = 0; c < CatalogCategories.size(); ++c) {
    const std::u16string marker = std::u16string(CatalogCategories[c]) + u"_";
    std::vector<std::u16string> expected;
    for (const std::u16string& line : lines)
      if (Contains(line, marker)) expected.push_back(ChannelNameOf(line));
    EXPECT_EQ(ChildTexts(root.children[c]), expected) << c;
  }
  EXPECT_FALSE(root.children[1].children.empty());
}

TEST(ChannelName, CutsBetweenFirstUnderscoreAndFirstDoubleDash) {
  struct Case {
    std::u16string_view line, name;
  } cases[] = {
      {u"体育新闻_国际足球--http://x/", u"国际足球"},
      {u"体育新闻_a_b--http://x/_y--z", u"a_b"},
      {u"无下划线--http://x/", u"无下划线"},  // no "_": the whole text before "--"
      {u"体育新闻_无地址", u""},
      {u"--http://x/", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ChannelNameOf(c.line), c.name);
}

TEST(ChannelLookup, FirstLineContainingTheTextWins) {
  const std::vector<std::u16string> lines = {
      u"",
      u"新闻中心_国内新闻--http://a/",
      u"新闻中心_国内--http://b/",
      u"体育新闻_NBA--http://c/",
      u"体育新闻_国际足球--http://d/",
      u"财经新闻_NBA--http://e/",
  };
  struct Case {
    std::u16string_view text;
    std::optional<std::size_t> line;
  } cases[] = {
      {u"国际足球", 4},       {u"NBA", 3},
      {u"国内", 1},           {u"", 1},           // empty text: first non-empty line
      {u"nba", std::nullopt}, {u"http://d/", 4},  // the address part counts too
  };
  for (const Case& c : cases) EXPECT_EQ(FindChannelLine(lines, c.text), c.line);
  EXPECT_EQ(FindChannelLine({}, u"x"), std::nullopt);
}

TEST(ChannelLookup, AddressIsEverythingAfterTheFirstDoubleDash) {
  struct Case {
    std::u16string_view line, url;
  } cases[] = {
      {u"体育新闻_NBA--http://a/b", u"http://a/b"},
      {u"体育新闻_X--http://a/--b--", u"http://a/--b--"},
      {u"体育新闻_X", u"育新闻_X"},  // no "--": the line less its first character
      {u"X--", u""},
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(ChannelUrlOf(c.line), c.url);
}

TEST(ChannelLookup, ChannelTextIsTheThirdPieceOfThePath) {
  struct Case {
    std::u16string_view path;
    std::optional<std::u16string> text;
  } cases[] = {
      {u"朗星快报\\体育新闻\\国际足球", u"国际足球"},
      {u"朗星快报\\体育新闻\\甲\\乙", u"甲"},  // a node text holding "\"
      {u"朗星快报\\体育新闻\\", u""},
      {u"朗星快报\\体育新闻", std::nullopt},  // a category without channels
      {u"朗星快报", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ChannelTextOfPath(c.path), c.text);
}

}  // namespace
}  // namespace langxing
