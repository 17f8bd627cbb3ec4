// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/charset.hpp"

#include <iconv.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

#include "core/ascii.hpp"
#include "core/text.hpp"
#include "core/utf16.hpp"

namespace langxing {

namespace {

// Trims ASCII white space and lower-cases ASCII letters; a non-ASCII character means the label
// cannot be one we know, so the result is empty.
template <typename CharT>
std::string NormaliseLabel(std::basic_string_view<CharT> label) {
  std::size_t begin = 0;
  std::size_t end = label.size();
  while (begin < end && ascii::IsSpace(label[begin])) ++begin;
  while (end > begin && ascii::IsSpace(label[end - 1])) --end;
  std::string out;
  out.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<CharT>>(label[i]));
    if (c >= 0x80) return {};
    out.push_back(static_cast<char>(ascii::Lower(c)));
  }
  return out;
}

struct LabelEntry {
  std::string_view label;
  Charset charset;
};

constexpr std::array<LabelEntry, 16> kLabels{{
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
    {"unicode-1-1-utf-8", Charset::Utf8},
    {"unicode11utf8", Charset::Utf8},
    {"unicode20utf8", Charset::Utf8},
    {"utf-8", Charset::Utf8},
    {"utf8", Charset::Utf8},
    {"x-unicode20utf8", Charset::Utf8},
}};

std::optional<Charset> LookUp(const std::string& normalised) {
  for (const auto& entry : kLabels) {
    if (entry.label == normalised) return entry.charset;
  }
  return std::nullopt;
}

// UTF-16 in the machine's own byte order, so the output buffer can be a char16_t array.
constexpr const char* kUtf16Native =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// The two outputs iconv writes for us: UTF-16 text, or UTF-8 for the HTML parser.
struct Utf16Output {
  using String = std::u16string;
  static constexpr const char* kCode = kUtf16Native;
  static constexpr std::u16string_view kReplacementText = u"\uFFFD";
  // GBK and UTF-8 give at most one code unit per byte (4-byte sequences give two).
  static std::size_t InitialSize(std::size_t bytes) { return bytes + 16; }
  static String FromUtf8(std::string_view bytes) { return Utf8ToUtf16(bytes); }
};

struct Utf8Output {
  using String = std::string;
  static constexpr const char* kCode = "UTF-8";
  static constexpr std::string_view kReplacementText = "\xEF\xBF\xBD";
  // A 2-byte GBK character becomes 3 bytes of UTF-8.
  static std::size_t InitialSize(std::size_t bytes) { return bytes + bytes / 2 + 16; }
  static String FromUtf8(std::string_view bytes) { return ValidUtf8(bytes); }
};

// Runs iconv over the whole input. The output grows as needed; a byte iconv rejects becomes
// U+FFFD and conversion resumes at the next byte, and a sequence cut off by the end of the
// input becomes one U+FFFD. Given `malformed`, the conversion is exact instead: it stops at the
// first such sequence (or a missing converter) and sets `*malformed`.
template <typename Output>
typename Output::String ConvertWithIconv(std::string_view bytes, const char* fromCode,
                                         const char* toCode = Output::kCode,
                                         bool* malformed = nullptr) {
  using Unit = typename Output::String::value_type;
  typename Output::String out;
  if (bytes.empty()) return out;
  iconv_t cd = iconv_open(toCode, fromCode);
  if (cd == reinterpret_cast<iconv_t>(-1) && malformed != nullptr) {
    *malformed = true;
    return out;
  }
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // The converter is missing from this system: keep the ASCII, mark everything else.
    for (const char b : bytes) {
      if (static_cast<unsigned char>(b) < 0x80) {
        out.push_back(static_cast<Unit>(b));
      } else {
        out += Output::kReplacementText;
      }
    }
    return out;
  }

  out.resize(Output::InitialSize(bytes.size()));
  std::size_t written = 0;
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    if (out.size() - written < 8) out.resize(out.size() * 2);
    char* outPtr = reinterpret_cast<char*>(out.data() + written);
    std::size_t outLeft = (out.size() - written) * sizeof(Unit);
    const std::size_t outBefore = outLeft;
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    written += (outBefore - outLeft) / sizeof(Unit);
    if (rc != static_cast<std::size_t>(-1)) break;
    const int error = errno;
    if (out.size() - written < 8) out.resize(out.size() * 2);
    if (error == E2BIG) continue;
    if (malformed != nullptr) {
      *malformed = true;
      break;
    }
    for (const Unit unit : Output::kReplacementText) out[written++] = unit;
    if (error != EILSEQ) break;  // EINVAL: an incomplete sequence ends the input.
    ++in;
    --inLeft;
  }
  iconv_close(cd);
  out.resize(written);
  return out;
}

template <typename Output>
typename Output::String DecodeTo(std::string_view bytes, Charset charset) {
  if (charset == Charset::Utf8) {
    // The program's one UTF-8 decoder (core/text), so pages and edges agree on every byte.
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return Output::FromUtf8(bytes);
  }
  // GB18030 is a superset of GBK and GB2312, as the browsers decode those labels.
  return ConvertWithIconv<Output>(bytes, "GB18030");
}

}  // namespace

std::optional<Charset> CharsetFromLabel(std::string_view label) {
  return LookUp(NormaliseLabel(label));
}

std::optional<Charset> CharsetFromLabel(std::u16string_view label) {
  return LookUp(NormaliseLabel(label));
}

std::u16string Decode(std::string_view bytes, Charset charset) {
  return DecodeTo<Utf16Output>(bytes, charset);
}

std::string DecodeToUtf8(std::string_view bytes, Charset charset) {
  return DecodeTo<Utf8Output>(bytes, charset);
}

// By code units, as the WHATWG decoder reads UTF-16: a lone surrogate becomes U+FFFD and the
// unit after it is read afresh, so one bad unit never shifts the rest of the text by a byte.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  const std::string_view bom = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  if (bytes.starts_with(bom)) bytes.remove_prefix(2);
  auto unitAt = [&](std::size_t i) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  const std::size_t units = bytes.size() / 2;
  for (std::size_t k = 0; k < units; ++k) {
    const char16_t unit = unitAt(2 * k);
    if (utf16::IsLeadSurrogate(unit) && k + 1 < units &&
        utf16::IsTrailSurrogate(unitAt(2 * k + 2))) {
      out.push_back(unit);
      out.push_back(unitAt(2 * ++k));
    } else if (utf16::IsSurrogate(unit)) {
      out.push_back(u'\uFFFD');
    } else {
      out.push_back(unit);
    }
  }
  if (bytes.size() % 2 != 0) out.push_back(u'\uFFFD');  // a byte left over at the end
  return out;
}

std::optional<std::string> ConvertExactly(std::string_view bytes, const char* toCode,
                                          const char* fromCode) {
  bool malformed = false;
  std::string out = ConvertWithIconv<Utf8Output>(bytes, fromCode, toCode, &malformed);
  if (malformed) return std::nullopt;
  return out;
}

std::optional<std::u16string> DecodeBytes(std::string_view bytes,
                                          std::u16string_view charsetLabel) {
  const auto charset = CharsetFromLabel(charsetLabel);
  if (!charset) return std::nullopt;
  return Decode(bytes, *charset);
}

}  // namespace langxing
