// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a page's character set the way browsers do: HTTP header, byte-order mark, the
// <meta> prescan of the first 1024 bytes, and GBK when nothing names one.
#include "core/html_charset.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

constexpr std::size_t kPrescanLength = 1024;

using ascii::IsSpace;
using ascii::Lower;
using ascii::LowerAscii;

// A meta tag may name UTF-16, which can never be right for bytes an ASCII scan just read: as
// browsers do, such a page is read as UTF-8.
std::optional<Charset> CharsetOfMetaLabel(std::string_view label) {
  const std::string lower = LowerAscii(label);
  if (lower == "utf-16" || lower == "utf-16le" || lower == "utf-16be" || lower == "unicode" ||
      lower == "csunicode" || lower == "iso-10646-ucs-2" || lower == "ucs-2" ||
      lower == "unicodefffe" || lower == "unicodefeff") {
    return Charset::Utf8;
  }
  return CharsetFromLabel(label);
}

// The value after "charset" in a Content-Type value or a meta tag's content, as browsers find
// it: the first "charset" followed (after white space) by "=", then a quoted or bare value.
std::optional<std::string> CharsetParameter(std::string_view text) {
  const std::string lower = LowerAscii(text);
  std::size_t pos = 0;
  while (true) {
    pos = lower.find("charset", pos);
    if (pos == std::string::npos) return std::nullopt;
    pos += 7;
    std::size_t p = pos;
    while (p < text.size() && IsSpace(text[p])) ++p;
    if (p >= text.size() || text[p] != '=') continue;
    ++p;
    while (p < text.size() && IsSpace(text[p])) ++p;
    if (p >= text.size()) return std::nullopt;
    if (text[p] == '"' || text[p] == '\'') {
      const char quote = text[p];
      const std::size_t close = text.find(quote, p + 1);
      if (close == std::string_view::npos) return std::nullopt;
      return std::string(text.substr(p + 1, close - p - 1));
    }
    std::size_t end = p;
    while (end < text.size() && !IsSpace(text[end]) && text[end] != ';') ++end;
    if (end == p) return std::nullopt;
    return std::string(text.substr(p, end - p));
  }
}

// The byte-by-byte attribute reader of the prescan. Names and values come back lower-cased.
class PrescanReader {
 public:
  explicit PrescanReader(std::string_view bytes) : s_(bytes) {}

  bool AtEnd() const { return p_ >= s_.size(); }
  std::size_t Position() const { return p_; }
  void Seek(std::size_t p) { p_ = p; }
  bool StartsWith(std::string_view prefix) const { return s_.substr(p_).starts_with(prefix); }
  char At(std::size_t offset = 0) const { return p_ + offset < s_.size() ? s_[p_ + offset] : '\0'; }
  bool HasAt(std::size_t offset) const { return p_ + offset < s_.size(); }

  // Moves past the next occurrence of `text`; false (at the end) when there is none.
  bool SkipPast(std::string_view text) {
    const std::size_t found = s_.find(text, p_);
    if (found == std::string_view::npos) {
      p_ = s_.size();
      return false;
    }
    p_ = found + text.size();
    return true;
  }

  // One attribute; nullopt when the tag ends or the input runs out first.
  std::optional<std::pair<std::string, std::string>> NextAttribute() {
    while (!AtEnd() && (IsSpace(s_[p_]) || s_[p_] == '/')) ++p_;
    if (AtEnd() || s_[p_] == '>') return std::nullopt;
    std::string name;
    std::string value;
    while (true) {
      if (AtEnd()) return std::nullopt;
      const char c = s_[p_];
      if (c == '=' && !name.empty()) {
        ++p_;
        break;
      }
      if (IsSpace(c)) {
        while (!AtEnd() && IsSpace(s_[p_])) ++p_;
        if (AtEnd()) return std::nullopt;
        if (s_[p_] != '=') return std::pair{name, value};
        ++p_;
        break;
      }
      if (c == '/' || c == '>') return std::pair{name, value};
      name.push_back(Lower(c));
      ++p_;
    }
    while (!AtEnd() && IsSpace(s_[p_])) ++p_;
    if (AtEnd()) return std::nullopt;
    const char first = s_[p_];
    if (first == '"' || first == '\'') {
      ++p_;
      while (true) {
        if (AtEnd()) return std::nullopt;
        if (s_[p_] == first) {
          ++p_;
          return std::pair{name, value};
        }
        value.push_back(Lower(s_[p_++]));
      }
    }
    if (first == '>') return std::pair{name, value};
    while (true) {
      if (AtEnd()) return std::nullopt;
      const char c = s_[p_];
      if (IsSpace(c) || c == '>') return std::pair{name, value};
      value.push_back(Lower(c));
      ++p_;
    }
  }

 private:
  std::string_view s_;
  std::size_t p_ = 0;
};

// What one <meta> tag says about the character set, if anything usable.
std::optional<Charset> CharsetOfMetaTag(PrescanReader& reader) {
  std::vector<std::string> seen;
  bool gotPragma = false;
  std::optional<bool> needPragma;
  std::optional<std::string> label;
  while (auto attribute = reader.NextAttribute()) {
    auto& [name, value] = *attribute;
    bool duplicate = false;
    for (const auto& n : seen) duplicate = duplicate || n == name;
    if (duplicate) continue;
    seen.push_back(name);
    if (name == "http-equiv") {
      if (value == "content-type") gotPragma = true;
    } else if (name == "content") {
      if (!label) {
        if (auto found = CharsetParameter(value)) {
          label = std::move(found);
          needPragma = true;
        }
      }
    } else if (name == "charset") {
      label = value;
      needPragma = false;
    }
  }
  if (!needPragma || !label) return std::nullopt;
  if (*needPragma && !gotPragma) return std::nullopt;
  return CharsetOfMetaLabel(*label);
}

// The prescan of the HTML standard over the first 1024 bytes: comments are skipped, other tags
// are stepped over attribute by attribute so that a quoted '>' does not end them early.
std::optional<Charset> PrescanForMeta(std::string_view bytes) {
  PrescanReader reader(bytes.substr(0, kPrescanLength));
  while (!reader.AtEnd()) {
    if (reader.StartsWith("<!--")) {
      reader.Seek(reader.Position() + 2);  // "<!-->" closes at once, as in the parser
      reader.SkipPast("-->");
      continue;
    }
    if (reader.At() == '<' && reader.HasAt(5) && Lower(reader.At(1)) == 'm' &&
        Lower(reader.At(2)) == 'e' && Lower(reader.At(3)) == 't' && Lower(reader.At(4)) == 'a' &&
        (IsSpace(reader.At(5)) || reader.At(5) == '/')) {
      reader.Seek(reader.Position() + 6);
      if (auto charset = CharsetOfMetaTag(reader)) return charset;
      continue;
    }
    if (reader.At() == '<' &&
        (ascii::IsAlpha(reader.At(1)) || (reader.At(1) == '/' && ascii::IsAlpha(reader.At(2))))) {
      reader.Seek(reader.Position() + (reader.At(1) == '/' ? 2 : 1));
      while (!reader.AtEnd() && !IsSpace(reader.At()) && reader.At() != '>') {
        reader.Seek(reader.Position() + 1);
      }
      while (reader.NextAttribute()) {
      }
      continue;
    }
    if (reader.StartsWith("<!") || reader.StartsWith("</") || reader.StartsWith("<?")) {
      reader.SkipPast(">");
      continue;
    }
    reader.Seek(reader.Position() + 1);
  }
  return std::nullopt;
}

std::optional<Charset> CharsetOfContentType(std::string_view contentType) {
  const std::size_t semicolon = contentType.find(';');
  if (semicolon == std::string_view::npos) return std::nullopt;
  const auto label = CharsetParameter(contentType.substr(semicolon + 1));
  if (!label) return std::nullopt;
  return CharsetFromLabel(std::string_view(*label));
}

enum class Utf16Bom { None, Little, Big };

Utf16Bom Utf16BomOf(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return Utf16Bom::Little;
  if (bytes.starts_with("\xFE\xFF")) return Utf16Bom::Big;
  return Utf16Bom::None;
}

}  // namespace

Charset SniffPageCharset(std::string_view bytes, std::string_view contentType) {
  if (auto fromHeader = CharsetOfContentType(contentType)) return *fromHeader;
  if (bytes.starts_with("\xEF\xBB\xBF")) return Charset::Utf8;
  // A UTF-16 byte-order mark names neither charset here; DecodePage reads such pages as UTF-16.
  if (Utf16BomOf(bytes) != Utf16Bom::None) return Charset::Gbk;
  if (auto fromMeta = PrescanForMeta(bytes)) return *fromMeta;
  return Charset::Gbk;
}

bool PageNamesCharset(std::string_view bytes, std::string_view contentType) {
  return CharsetOfContentType(contentType) || bytes.starts_with("\xEF\xBB\xBF") ||
         Utf16BomOf(bytes) != Utf16Bom::None || PrescanForMeta(bytes);
}

std::u16string DecodePage(std::string_view bytes, std::string_view contentType) {
  if (!CharsetOfContentType(contentType)) {
    const Utf16Bom bom = Utf16BomOf(bytes);
    if (bom != Utf16Bom::None) return DecodeUtf16(bytes, bom == Utf16Bom::Big);
  }
  return Decode(bytes, SniffPageCharset(bytes, contentType));
}

std::string DecodePageToUtf8(std::string_view bytes, std::string_view contentType) {
  if (!CharsetOfContentType(contentType) && Utf16BomOf(bytes) != Utf16Bom::None) {
    return Utf16ToUtf8(DecodePage(bytes, contentType));
  }
  return DecodeToUtf8(bytes, SniffPageCharset(bytes, contentType));
}

}  // namespace langxing
