// SPDX-License-Identifier: GPL-3.0-or-later
// Small single-colour images for the pictures the portal's articles show.
#pragma once

#include <cstdint>
#include <string>

namespace langxing::testportal {

struct Rgb {
  std::uint8_t red, green, blue;
};

std::string SolidPng(int width, int height, Rgb colour);  // truecolour, stored (uncompressed) zlib
std::string SolidGif(int width, int height, Rgb colour);  // GIF89a, two-entry palette
std::string SolidBmp(int width, int height, Rgb colour);  // 24-bit, bottom-up

}  // namespace langxing::testportal
