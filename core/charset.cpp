#include "core/charset.hpp"

#include <iconv.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

namespace langxing {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsAsciiWhitespace(char32_t c) {
  return c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D || c == 0x20;
}

char AsciiLower(char32_t c) {
  return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// Trims ASCII white space and lower-cases ASCII letters; a non-ASCII character means the label
// cannot be one we know, so the result is empty.
template <typename CharT>
std::string NormaliseLabel(std::basic_string_view<CharT> label) {
  std::size_t begin = 0;
  std::size_t end = label.size();
  while (begin < end && IsAsciiWhitespace(static_cast<char32_t>(label[begin]))) ++begin;
  while (end > begin && IsAsciiWhitespace(static_cast<char32_t>(label[end - 1]))) --end;
  std::string out;
  out.reserve(end - begin);
  for (std::size_t i = begin; i < end; ++i) {
    const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<CharT>>(label[i]));
    if (c >= 0x80) return {};
    out.push_back(AsciiLower(c));
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

// Runs iconv over the whole input. The output grows as needed; a byte iconv rejects becomes
// U+FFFD and conversion resumes at the next byte, and a sequence cut off by the end of the
// input becomes one U+FFFD.
std::u16string ConvertWithIconv(std::string_view bytes, const char* fromCode) {
  std::u16string out;
  if (bytes.empty()) return out;
  iconv_t cd = iconv_open(kUtf16Native, fromCode);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    // The converter is missing from this system: keep the ASCII, mark everything else.
    out.reserve(bytes.size());
    for (const char b : bytes) {
      const auto u = static_cast<unsigned char>(b);
      out.push_back(u < 0x80 ? static_cast<char16_t>(u) : kReplacement);
    }
    return out;
  }

  // Every input byte yields at most one UTF-16 code unit except 4-byte sequences, which yield
  // two; so the input length plus a little slack holds the whole result in one go.
  out.resize(bytes.size() + 16);
  std::size_t written = 0;
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    if (out.size() - written < 8) out.resize(out.size() * 2);
    char* outPtr = reinterpret_cast<char*>(out.data() + written);
    std::size_t outLeft = (out.size() - written) * sizeof(char16_t);
    const std::size_t outBefore = outLeft;
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    written += (outBefore - outLeft) / sizeof(char16_t);
    if (rc != static_cast<std::size_t>(-1)) break;
    const int error = errno;
    if (written == out.size()) out.resize(out.size() * 2);
    if (error == E2BIG) {
      out.resize(out.size() * 2);
    } else if (error == EILSEQ) {
      out[written++] = kReplacement;
      ++in;
      --inLeft;
    } else {  // EINVAL: an incomplete sequence ends the input.
      out[written++] = kReplacement;
      break;
    }
  }
  iconv_close(cd);
  out.resize(written);
  return out;
}

}  // namespace

std::optional<Charset> CharsetFromLabel(std::string_view label) {
  return LookUp(NormaliseLabel(label));
}

std::optional<Charset> CharsetFromLabel(std::u16string_view label) {
  return LookUp(NormaliseLabel(label));
}

std::u16string Decode(std::string_view bytes, Charset charset) {
  if (charset == Charset::Utf8) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return ConvertWithIconv(bytes, "UTF-8");
  }
  // GB18030 is a superset of GBK and GB2312, as the browsers decode those labels.
  return ConvertWithIconv(bytes, "GB18030");
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  const std::string_view bom = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  if (bytes.starts_with(bom)) bytes.remove_prefix(2);
  return ConvertWithIconv(bytes, bigEndian ? "UTF-16BE" : "UTF-16LE");
}

std::optional<std::u16string> DecodeBytes(std::string_view bytes,
                                          std::u16string_view charsetLabel) {
  const auto charset = CharsetFromLabel(charsetLabel);
  if (!charset) return std::nullopt;
  return Decode(bytes, *charset);
}

}  // namespace langxing
