// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/missing_channel_file.hpp"

#include "catalog/channel_file.hpp"
#include "core/text.hpp"

namespace {

// The text with the characters that markup would read escaped.
std::u16string EscapedHtml(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'&':
        out += u"&amp;";
        break;
      case u'<':
        out += u"&lt;";
        break;
      case u'>':
        out += u"&gt;";
        break;
      case u'"':
        out += u"&quot;";
        break;
      case u'\'':
        out += u"&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::u16string MissingChannelFilePage(const std::vector<std::filesystem::path>& folders) {
  const std::u16string file = langxing::Utf8ToUtf16(langxing::ChannelFileName);
  std::u16string page =
      u"<body><h3>没有找到频道文件 " + file + u"</h3><p>新闻目录由频道文件 " + file +
      u" 而来。请把它放进下列任一文件夹（按查找顺序），然后重新启动程序：</p><ul>";
  for (const std::filesystem::path& folder : folders)
    page += u"<li>" + EscapedHtml(langxing::Utf8ToUtf16(folder.string())) + u"</li>";
  page += u"</ul></body>";
  return page;
}
