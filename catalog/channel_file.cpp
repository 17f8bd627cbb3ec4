// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/channel_file.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <system_error>

#include "core/charset.hpp"
#include "core/text.hpp"

namespace langxing {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A channel file is a few hundred kilobytes at most; reading stops here so that a mistaken
// multi-gigabyte file cannot exhaust memory. Lines completed before the cap are kept.
constexpr std::size_t kMaxChannelFileBytes = 64u * 1024u * 1024u;
constexpr std::size_t kReadChunkBytes = 1u << 20;

// The byte ranges of the lines of `bytes`: CR LF, CR alone and LF alone each end a line; a
// last line without a line end counts; at most `maxLines` lines.
struct LineSpan {
  std::size_t begin;
  std::size_t end;   // where the line end starts
  std::size_t next;  // past the line end
};

template <typename CharT>
std::vector<LineSpan> SplitLineSpans(std::basic_string_view<CharT> text, std::size_t maxLines) {
  std::vector<LineSpan> spans;
  std::size_t begin = 0;
  std::size_t i = 0;
  while (i < text.size() && spans.size() < maxLines) {
    const CharT c = text[i];
    if (c != CharT('\r') && c != CharT('\n')) {
      ++i;
      continue;
    }
    const std::size_t end = i;
    ++i;
    if (c == CharT('\r') && i < text.size() && text[i] == CharT('\n')) ++i;
    spans.push_back({begin, end, i});
    begin = i;
  }
  if (begin < text.size() && spans.size() < maxLines)
    spans.push_back({begin, text.size(), text.size()});
  return spans;
}

// Counts line ends in bytes[from, size) (CR LF as one), for deciding when to stop reading.
// `pendingCr` carries a CR seen as the last byte of the previous chunk.
std::size_t CountLineEnds(std::string_view bytes, std::size_t from, bool& pendingCr) {
  std::size_t count = 0;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\n') {
      if (!pendingCr) ++count;
      pendingCr = false;
    } else if (c == '\r') {
      ++count;
      pendingCr = true;
    } else {
      pendingCr = false;
    }
  }
  return count;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool ChannelFileExists(const std::filesystem::path& dir) {
  std::error_code ec;
  return std::filesystem::is_regular_file(dir / ChannelFileName, ec);
}

std::vector<std::u16string> ChannelLinesOfBytes(std::string_view bytes) {
  bool utf8 = false;
  if (bytes.starts_with(kUtf8Bom)) {
    utf8 = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  const std::vector<LineSpan> spans = SplitLineSpans(bytes, MaxChannelLines);
  // Only the bytes of the kept lines decide the encoding.
  const std::string_view kept =
      spans.empty() ? std::string_view{} : bytes.substr(0, spans.back().next);
  if (!utf8) utf8 = IsValidUtf8(kept);

  std::vector<std::u16string> lines;
  lines.reserve(spans.size());
  if (utf8) {
    for (const LineSpan& s : spans)
      lines.push_back(Utf8ToUtf16(bytes.substr(s.begin, s.end - s.begin)));
    return lines;
  }
  // GBK never uses CR or LF inside a multi-byte sequence, so decoding the kept bytes at once
  // gives the same lines, unless a malformed sequence swallowed a line end: then (the line
  // count drops) each line is decoded on its own.
  const std::u16string decoded = kept.empty() ? std::u16string{} : Decode(kept, Charset::Gbk);
  const std::vector<LineSpan> decodedSpans =
      SplitLineSpans(std::u16string_view(decoded), MaxChannelLines);
  if (decodedSpans.size() == spans.size()) {
    for (const LineSpan& s : decodedSpans) lines.emplace_back(decoded, s.begin, s.end - s.begin);
    return lines;
  }
  for (const LineSpan& s : spans) {
    const std::string_view line = bytes.substr(s.begin, s.end - s.begin);
    lines.push_back(line.empty() ? std::u16string{} : Decode(line, Charset::Gbk));
  }
  return lines;
}

std::vector<std::u16string> LoadChannelFile(const std::filesystem::path& dir) {
  if (!ChannelFileExists(dir)) return {};
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen((dir / ChannelFileName).c_str(), "rb"));
  if (!file) return {};

  std::string bytes;
  std::size_t lineEnds = 0;
  bool pendingCr = false;
  bool failed = false;
  while (lineEnds < MaxChannelLines && bytes.size() < kMaxChannelFileBytes) {
    const std::size_t before = bytes.size();
    const std::size_t want = std::min(kReadChunkBytes, kMaxChannelFileBytes - before);
    bytes.resize(before + want);
    const std::size_t got = std::fread(bytes.data() + before, 1, want, file.get());
    bytes.resize(before + got);
    lineEnds += CountLineEnds(bytes, before, pendingCr);
    if (got < want) {
      failed = std::ferror(file.get()) != 0;
      break;
    }
  }
  const bool cutAtCap = !failed && lineEnds < MaxChannelLines &&
                        bytes.size() >= kMaxChannelFileBytes && std::fgetc(file.get()) != EOF;
  const bool truncated = failed || cutAtCap;
  if (truncated) {
    // The line being read when reading stopped is incomplete: keep only the lines before it.
    const std::size_t lastEnd = bytes.find_last_of("\r\n");
    bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  }
  return ChannelLinesOfBytes(bytes);
}

}  // namespace langxing
