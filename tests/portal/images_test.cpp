// SPDX-License-Identifier: GPL-3.0-or-later
// The generated pictures decode with a real image reader to the size and colour asked for.
#include "tests/portal/images.hpp"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace langxing::testportal {
namespace {

TEST(Images, DecodeToTheirSizeAndColour) {
  constexpr Rgb kColour{0x12, 0x9A, 0xFE};
  const struct {
    const char* format;
    std::string bytes;
    int width, height;
  } cases[] = {
      {"PNG", SolidPng(7, 5, kColour), 7, 5},
      {"PNG", SolidPng(300, 250, kColour), 300, 250},  // more than one stored deflate block
      {"GIF", SolidGif(7, 5, kColour), 7, 5},
      {"GIF", SolidGif(120, 90, kColour), 120, 90},  // more than one 255-byte data sub-block
      {"BMP", SolidBmp(7, 5, kColour), 7, 5},        // rows padded to four bytes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + std::to_string(c.width) + "x" +
                 std::to_string(c.height));
    const QImage image = QImage::fromData(
        QByteArray(c.bytes.data(), static_cast<qsizetype>(c.bytes.size())), c.format);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{c.width - 1, c.height - 1},
                               std::pair{c.width / 2, c.height / 2}}) {
      EXPECT_EQ(image.pixelColor(x, y), QColor(kColour.red, kColour.green, kColour.blue))
          << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace langxing::testportal
