// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/channel_file.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "core/text.hpp"

namespace langxing {
namespace {

using Lines = std::vector<std::u16string>;

// "体育新闻_国际足球--" in GBK.
const std::string kGbkLine = "\xCC\xE5\xD3\xFD\xD0\xC2\xCE\xC5_\xB9\xFA\xBC\xCA\xD7\xE3\xC7\xF2--";

TEST(ChannelLines, EveryKindOfLineEndEndsALine) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"empty file", "", {}},
      {"CR LF", "a\r\nb\r\n", {u"a", u"b"}},
      {"CR alone", "a\rb\r", {u"a", u"b"}},
      {"LF alone", "a\nb\n", {u"a", u"b"}},
      {"mixed", "a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
      {"no final end", "a\r\nb", {u"a", u"b"}},
      {"LF CR is two ends", "a\n\rb", {u"a", u"", u"b"}},
      {"empty lines kept", "\r\n\r\na\r\n", {u"", u"", u"a"}},
      {"only a line end", "\r\n", {u""}},
  };
  for (const Case& c : cases) EXPECT_EQ(ChannelLinesOfBytes(c.bytes), c.lines) << c.name;
}

TEST(ChannelLines, EncodingIsUtf8WhenValidOrMarkedElseGbk) {
  const std::string utf8 = "体育新闻_国际足球--http://x/";
  EXPECT_EQ(ChannelLinesOfBytes(utf8), Lines{u"体育新闻_国际足球--http://x/"});
  EXPECT_EQ(ChannelLinesOfBytes("\xEF\xBB\xBF" + utf8 + "\r\n"),
            Lines{u"体育新闻_国际足球--http://x/"});
  EXPECT_EQ(ChannelLinesOfBytes(kGbkLine + "http://x/\r\n" + kGbkLine),
            (Lines{u"体育新闻_国际足球--http://x/", u"体育新闻_国际足球--"}));
  // One GBK line makes the whole file GBK, even when the other lines would pass as UTF-8.
  EXPECT_EQ(ChannelLinesOfBytes("abc\r\n" + kGbkLine), (Lines{u"abc", u"体育新闻_国际足球--"}));
  // A broken GBK sequence right before a line end does not take the line end with it.
  EXPECT_EQ(ChannelLinesOfBytes(kGbkLine + "\xCC\r\n\xCC\n" + kGbkLine + "\r\n\r\n"),
            (Lines{u"体育新闻_国际足球--\uFFFD", u"\uFFFD", u"体育新闻_国际足球--", u""}));
  // A BOM forces UTF-8: a stray byte becomes U+FFFD instead of switching to GBK.
  EXPECT_EQ(ChannelLinesOfBytes("\xEF\xBB\xBF"
                                "a\xFF"
                                "b"),
            Lines{u"a\uFFFDb"});
}

TEST(ChannelLines, BinaryBytesDecodeWithoutCrashing) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 131 + 7) & 0xFF));
  const Lines lines = ChannelLinesOfBytes(bytes);
  EXPECT_FALSE(lines.empty());
  EXPECT_EQ(ChannelLinesOfBytes(std::string("a\0b\r\nc", 6)),
            (Lines{std::u16string(u"a\0b", 3), u"c"}));
}

TEST(ChannelLines, AtMost32767LinesAreKept) {
  std::string bytes;
  for (int i = 0; i < 32770; ++i) bytes += "L" + std::to_string(i) + "\r\n";
  const Lines lines = ChannelLinesOfBytes(bytes);
  ASSERT_EQ(lines.size(), 32767u);
  EXPECT_EQ(lines.back(), u"L32766");
}

TEST(ChannelLines, AOneMebibyteLineIsReadWhole) {
  const std::string longLine = "新闻中心_长--http://x/" + std::string(1 << 20, 'a');
  const Lines lines = ChannelLinesOfBytes(longLine + "\r\nb");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], Utf8ToUtf16(longLine));
  EXPECT_EQ(lines[1], u"b");
}

class ChannelFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("langxing_chan_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Write(const std::string& bytes) {
    std::ofstream(dir_ / "chan.dll", std::ios::binary) << bytes;
  }
  std::filesystem::path dir_;
};

TEST_F(ChannelFileOnDisk, MissingFileGivesNoLines) {
  EXPECT_FALSE(ChannelFileExists(dir_));
  EXPECT_TRUE(LoadChannelFile(dir_).empty());
}

TEST_F(ChannelFileOnDisk, DirectoryNamedLikeTheFileCountsAsMissing) {
  std::filesystem::create_directory(dir_ / "chan.dll");
  EXPECT_FALSE(ChannelFileExists(dir_));
  EXPECT_TRUE(LoadChannelFile(dir_).empty());
}

TEST_F(ChannelFileOnDisk, ReadsTheLinesOfThePlainFile) {
  Write(kGbkLine + "http://a/\r\n\r\n" + "x\ry");
  EXPECT_TRUE(ChannelFileExists(dir_));
  EXPECT_EQ(LoadChannelFile(dir_), (Lines{u"体育新闻_国际足球--http://a/", u"", u"x", u"y"}));
}

TEST_F(ChannelFileOnDisk, StopsAfterTheLastKeptLineOfAHugeFile) {
  // 40,000 short lines followed by a large tail: only the first 32,767 lines come back.
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += "新闻中心_" + std::to_string(i) + "--http://x/\n";
  bytes += std::string(3 << 20, 'z');
  Write(bytes);
  const Lines lines = LoadChannelFile(dir_);
  ASSERT_EQ(lines.size(), 32767u);
  EXPECT_EQ(lines.back(), u"新闻中心_32766--http://x/");
}

TEST_F(ChannelFileOnDisk, LongLinesAcrossReadChunksStayWhole) {
  const std::string longLine(3 << 20, 'q');
  Write("a\r" + longLine + "\r\nb");
  const Lines lines = LoadChannelFile(dir_);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].size(), longLine.size());
  EXPECT_EQ(lines[2], u"b");
}

}  // namespace
}  // namespace langxing
