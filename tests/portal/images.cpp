// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/images.hpp"

#include <algorithm>
#include <array>
#include <vector>

namespace langxing::testportal {
namespace {

void PutBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}
void PutLittleEndian16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void PutLittleEndian32(std::string& out, std::uint32_t value) {
  PutLittleEndian16(out, value & 0xFFFF);
  PutLittleEndian16(out, value >> 16);
}

std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::string_view bytes) {
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : bytes) {
    a = (a + byte) % 65521u;
    b = (b + a) % 65521u;
  }
  return (b << 16) | a;
}

void PngChunk(std::string& out, std::string_view type, std::string_view data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  std::string typed(type);
  typed += data;
  out += typed;
  PutBigEndian32(out, Crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(std::string_view raw) {
  std::string out("\x78\x01", 2);
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    PutLittleEndian16(out, static_cast<std::uint32_t>(length));
    PutLittleEndian16(out, static_cast<std::uint32_t>(~length & 0xFFFF));
    out.append(raw.substr(offset, length));
    offset += length;
  } while (offset < raw.size());
  PutBigEndian32(out, Adler32(raw));
  return out;
}

}  // namespace

std::string SolidPng(int width, int height, Rgb colour) {
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBigEndian32(header, static_cast<std::uint32_t>(width));
  PutBigEndian32(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00",
                        5);  // 8 bits, truecolour, deflate, no filter, no interlace
  PngChunk(out, "IHDR", header);
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // filter type None
    for (int x = 0; x < width; ++x) {
      raw += static_cast<char>(colour.red);
      raw += static_cast<char>(colour.green);
      raw += static_cast<char>(colour.blue);
    }
  }
  PngChunk(out, "IDAT", StoredZlib(raw));
  PngChunk(out, "IEND", "");
  return out;
}

std::string SolidGif(int width, int height, Rgb colour) {
  std::string out("GIF89a");
  PutLittleEndian16(out, static_cast<std::uint32_t>(width));
  PutLittleEndian16(out, static_cast<std::uint32_t>(height));
  out += static_cast<char>(0x80);  // global colour table of 2 entries
  out += '\0';                     // background colour index
  out += '\0';                     // no aspect ratio
  out += static_cast<char>(colour.red);
  out += static_cast<char>(colour.green);
  out += static_cast<char>(colour.blue);
  out += std::string(3, '\xFF');
  out += ',';  // image descriptor at (0,0), full size, no local table
  PutLittleEndian32(out, 0);
  PutLittleEndian16(out, static_cast<std::uint32_t>(width));
  PutLittleEndian16(out, static_cast<std::uint32_t>(height));
  out += '\0';
  // LZW with minimum code size 2: codes stay 3 bits wide when a clear code (4) precedes every
  // two pixel codes (0), since the table then never reaches 8 entries.
  constexpr std::uint32_t kClear = 4, kEnd = 5, kWidth = 3;
  out += '\x02';
  std::vector<std::uint8_t> packed;
  std::uint32_t bitBuffer = 0;
  int bitCount = 0;
  auto emit = [&](std::uint32_t code) {
    bitBuffer |= code << bitCount;
    bitCount += kWidth;
    while (bitCount >= 8) {
      packed.push_back(static_cast<std::uint8_t>(bitBuffer & 0xFF));
      bitBuffer >>= 8;
      bitCount -= 8;
    }
  };
  const long pixels = static_cast<long>(width) * height;
  for (long i = 0; i < pixels; ++i) {
    if (i % 2 == 0) emit(kClear);
    emit(0);
  }
  emit(kEnd);
  if (bitCount > 0) packed.push_back(static_cast<std::uint8_t>(bitBuffer & 0xFF));
  for (std::size_t offset = 0; offset < packed.size(); offset += 255) {
    const std::size_t length = std::min<std::size_t>(255, packed.size() - offset);
    out += static_cast<char>(length);
    out.append(reinterpret_cast<const char*>(packed.data() + offset), length);
  }
  out += '\0';  // block terminator
  out += ';';   // trailer
  return out;
}

std::string SolidBmp(int width, int height, Rgb colour) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
  std::string out("BM");
  PutLittleEndian32(out, 54 + pixelBytes);
  PutLittleEndian32(out, 0);
  PutLittleEndian32(out, 54);  // pixel data offset
  PutLittleEndian32(out, 40);  // BITMAPINFOHEADER
  PutLittleEndian32(out, static_cast<std::uint32_t>(width));
  PutLittleEndian32(out, static_cast<std::uint32_t>(height));
  PutLittleEndian16(out, 1);   // planes
  PutLittleEndian16(out, 24);  // bits per pixel
  PutLittleEndian32(out, 0);   // no compression
  PutLittleEndian32(out, pixelBytes);
  PutLittleEndian32(out, 2835);  // 72 dpi
  PutLittleEndian32(out, 2835);
  PutLittleEndian32(out, 0);
  PutLittleEndian32(out, 0);
  std::string row;
  for (int x = 0; x < width; ++x) {
    row += static_cast<char>(colour.blue);
    row += static_cast<char>(colour.green);
    row += static_cast<char>(colour.red);
  }
  row.resize(rowBytes, '\0');
  for (int y = 0; y < height; ++y) out += row;
  return out;
}

}  // namespace langxing::testportal
