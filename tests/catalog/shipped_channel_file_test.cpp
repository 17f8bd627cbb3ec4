// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the channel files that ship with the program: today's (data/chan.dll, installed) and
// the 2009 one the classic sample reads (data/chan-classic.dll).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "catalog/catalog.hpp"
#include "catalog/channel_file.hpp"
#include "core/text.hpp"
#include "headlines/roll_feed_address.hpp"

namespace langxing {
namespace {

constexpr const char* kToday = "chan.dll";
constexpr const char* kClassic = "chan-classic.dll";

std::string ShippedBytes(const char* name) {
  std::ifstream in(std::filesystem::path(LANGXING_SOURCE_DIR) / "data" / name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(ShippedChannelFile, IsUtf8WithCrLfLineEndsAndNoBom) {
  for (const char* name : {kToday, kClassic}) {
    SCOPED_TRACE(name);
    const std::string bytes = ShippedBytes(name);
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
      }
      if (bytes[i] == '\r') {
        ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
      }
    }
  }
}

TEST(ShippedChannelFile, EveryCategoryHasAtLeastThreePortalChannels) {
  const std::vector<std::u16string> lines = ChannelLinesOfBytes(ShippedBytes(kClassic));
  const CatalogNode root = BuildCatalogTree(lines);
  for (const CatalogNode& category : root.children)
    EXPECT_GE(category.children.size(), 3u) << Utf16ToUtf8(category.text);
  for (const std::u16string& line : lines) {
    const std::u16string url = ChannelUrlOf(line);
    EXPECT_TRUE(url.starts_with(u"http://")) << Utf16ToUtf8(line);
    const std::u16string host = url.substr(7, url.find(u'/', 7) - 7);
    EXPECT_TRUE(host.ends_with(u".sina.com.cn")) << Utf16ToUtf8(line);
  }
}

// Every line is a roll feed, or a page of the portal that names its feed on the page (the
// offline sample serves that page and checks the feed it names).
TEST(ShippedChannelFile, TodaysChannelsAreRollFeedsUnderTheirCategories) {
  const std::vector<std::u16string> lines = ChannelLinesOfBytes(ShippedBytes(kToday));
  const CatalogNode root = BuildCatalogTree(lines);
  std::size_t channels = 0;
  for (const CatalogNode& category : root.children) channels += category.children.size();
  EXPECT_EQ(channels, lines.size()) << "a line of no category";
  for (const std::u16string& line : lines) {
    const std::u16string url = ChannelUrlOf(line);
    EXPECT_TRUE(url.starts_with(u"https://")) << Utf16ToUtf8(line);
    if (RollFeedRequestOf(url)) continue;
    // Only a page of the portal can name a feed the program will ask.
    EXPECT_TRUE(RollFeedRequestNamedByPage(url, u"1", u"1").has_value()) << Utf16ToUtf8(line);
  }
}

TEST(ShippedChannelFile, EveryChannelClickFindsItsOwnLine) {
  // No channel name may occur in an earlier line, or its click would open that line's page;
  // the offline sample reads both files as one, the classic lines first.
  const std::string merged = ShippedBytes(kClassic) + ShippedBytes(kToday);
  for (const std::string& bytes : {ShippedBytes(kToday), ShippedBytes(kClassic), merged}) {
    const std::vector<std::u16string> lines = ChannelLinesOfBytes(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::u16string name = ChannelNameOf(lines[i]);
      ASSERT_FALSE(name.empty()) << "line " << i;
      EXPECT_EQ(FindChannelLine(lines, name), i) << Utf16ToUtf8(name);
    }
  }
}

}  // namespace
}  // namespace langxing
