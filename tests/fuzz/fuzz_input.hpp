// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers that turn a fuzzer's bytes into the program's inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace langxing::fuzz {

// Reads choices and short pieces from the end of the input and leaves the front as the main
// text, so a seed page keeps its beginning (where the markers and the charset are) intact.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(bytes_.back());
    bytes_.remove_suffix(1);
    return b;
  }

  // A piece of at most `maxLength` bytes from the end, its length taken from the next byte.
  std::string_view Piece(std::size_t maxLength = 255) {
    std::size_t length = Byte();
    if (length > maxLength) length = maxLength;
    if (length > bytes_.size()) length = bytes_.size();
    const auto piece = bytes_.substr(bytes_.size() - length);
    bytes_.remove_suffix(length);
    return piece;
  }

  // Whatever the choices and pieces left.
  std::string_view Rest() {
    const auto rest = bytes_;
    bytes_ = {};
    return rest;
  }

 private:
  std::string_view bytes_;
};

// Raw bytes as UTF-16 code units (pairs, little-endian), so lone surrogates come through too.
inline std::u16string CodeUnits(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                        (static_cast<std::uint8_t>(bytes[i + 1]) << 8)));
  }
  return out;
}

}  // namespace langxing::fuzz
