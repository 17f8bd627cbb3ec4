// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/charset.hpp"

#include <gtest/gtest.h>

#include <string>

#include "core/text.hpp"

namespace langxing {
namespace {

struct LabelCase {
  const char* label;
  std::optional<Charset> expected;
};

TEST(CharsetFromLabel, ResolvesLabelsLikeABrowser) {
  const LabelCase cases[] = {
      {"chinese", Charset::Gbk},
      {"csgb2312", Charset::Gbk},
      {"csiso58gb231280", Charset::Gbk},
      {"gb2312", Charset::Gbk},
      {"gb_2312", Charset::Gbk},
      {"gb_2312-80", Charset::Gbk},
      {"gbk", Charset::Gbk},
      {"iso-ir-58", Charset::Gbk},
      {"x-gbk", Charset::Gbk},
      {"gb18030", Charset::Gbk},
      {"GB2312", Charset::Gbk},
      {" \t\r\n\fGbK \n", Charset::Gbk},
      {"unicode-1-1-utf-8", Charset::Utf8},
      {"unicode11utf8", Charset::Utf8},
      {"unicode20utf8", Charset::Utf8},
      {"utf-8", Charset::Utf8},
      {"utf8", Charset::Utf8},
      {"x-unicode20utf8", Charset::Utf8},
      {"UTF-8", Charset::Utf8},
      {"  Utf-8\t", Charset::Utf8},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"big5", std::nullopt},
      {"utf-16", std::nullopt},
      {"gb 2312", std::nullopt},
      {"utf-8x", std::nullopt},
      {"\xC2\xA0utf-8", std::nullopt},  // no-break space is not ASCII white space
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CharsetFromLabel(std::string_view(c.label)), c.expected) << '"' << c.label << '"';
    // The UTF-16 overload agrees for ASCII labels.
    const std::string label(c.label);
    if (label.find('\xC2') == std::string::npos) {
      const std::u16string wide(label.begin(), label.end());
      EXPECT_EQ(CharsetFromLabel(std::u16string_view(wide)), c.expected) << '"' << c.label << '"';
    }
  }
  EXPECT_EQ(CharsetFromLabel(std::u16string_view(u"gb2312\u3000")), std::nullopt);
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  Charset charset;
  std::u16string expected;
};

TEST(Decode, DecodesAndRecoversFromMalformedBytes) {
  const DecodeCase cases[] = {
      {"empty gbk", "", Charset::Gbk, u""},
      {"empty utf8", "", Charset::Utf8, u""},
      {"gbk chinese", "\xD0\xC2\xC0\xCB\xCD\xF8", Charset::Gbk, u"新浪网"},
      {"gbk mixed with ascii", "<b>\xD0\xC2\xC0\xCB</b>", Charset::Gbk, u"<b>新浪</b>"},
      {"gb18030 four-byte bmp", "\x81\x30\x84\x36", Charset::Gbk, u"\u00A5"},
      {"gb18030 four-byte astral", "a\x94\x39\xFC\x36z", Charset::Gbk, u"a\U0001F600z"},
      {"gb18030 cjk extension b", "\x95\x32\x82\x36", Charset::Gbk, u"\U00020000"},
      {"gbk bad byte in the middle", "\xD0\xC2\xFF\xC0\xCB", Charset::Gbk, u"新\uFFFD浪"},
      // The lead byte is rejected alone, so the ASCII that follows it survives.
      {"gbk lead byte before a newline", "\xD0\n\xC0\xCB", Charset::Gbk, u"\uFFFD\n浪"},
      {"gbk lead byte before a quote", "\xD0\"", Charset::Gbk, u"\uFFFD\""},
      {"gbk lone lead byte at the end", "\xD0\xC2\xC0", Charset::Gbk, u"新\uFFFD"},
      {"utf8 chinese", "\xE6\x96\xB0\xE6\xB5\xAA", Charset::Utf8, u"新浪"},
      {"utf8 bom dropped", "\xEF\xBB\xBF\xE6\x96\xB0", Charset::Utf8, u"新"},
      {"utf8 only bom", "\xEF\xBB\xBF", Charset::Utf8, u""},
      {"utf8 second bom kept", "\xEF\xBB\xBF\xEF\xBB\xBFx", Charset::Utf8, u"\uFEFFx"},
      {"utf8 astral", "\xF0\x9F\x98\x80", Charset::Utf8, u"\U0001F600"},
      {"utf8 bad byte in the middle",
       "a\xFF"
       "b\xE6\x96\xB0",
       Charset::Utf8, u"a\uFFFDb新"},
      {"utf8 truncated at the end", "ab\xE6\x96", Charset::Utf8, u"ab\uFFFD"},
      {"utf8 encoded surrogate", "\xED\xA0\x80z", Charset::Utf8, u"\uFFFD\uFFFD\uFFFDz"},
      {"utf8 nul kept", std::string("a\0b", 3), Charset::Utf8, std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(c.bytes, c.charset), c.expected) << c.name;
    // The UTF-8 road gives the same characters, replacements included.
    EXPECT_EQ(DecodeToUtf8(c.bytes, c.charset), Utf16ToUtf8(c.expected)) << c.name;
  }
}

TEST(Decode, LongInputGrowsPastTheFirstBufferAndKeepsEveryCharacter) {
  // Four-byte sequences give two code units per four bytes, astral UTF-8 likewise; mixed with
  // many single-byte errors the output must still be complete and in order.
  std::string bytes;
  std::u16string expected;
  for (int i = 0; i < 20000; ++i) {
    bytes +=
        "\x94\x39\xFC\x36"
        "\xFF"
        "\xD0\xC2"
        "a";
    expected += u"\U0001F600\uFFFD新a";
  }
  EXPECT_EQ(Decode(bytes, Charset::Gbk), expected);
  EXPECT_EQ(DecodeToUtf8(bytes, Charset::Gbk), Utf16ToUtf8(expected));
}

TEST(DecodeBytes, UsesTheNamedCharsetAndRefusesUnknownOnes) {
  EXPECT_EQ(DecodeBytes("\xD0\xC2", u"GB2312"), std::optional<std::u16string>(u"新"));
  EXPECT_EQ(DecodeBytes("\xE6\x96\xB0", u"utf-8"), std::optional<std::u16string>(u"新"));
  EXPECT_EQ(DecodeBytes("\xE6\x96\xB0", u"x-mac-chinese"), std::nullopt);
  EXPECT_EQ(DecodeBytes("", u"nonsense"), std::nullopt);
}

}  // namespace
}  // namespace langxing
