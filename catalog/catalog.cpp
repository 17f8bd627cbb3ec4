// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalog/catalog.hpp"

#include "core/text.hpp"

namespace langxing {

const std::array<std::u16string_view, 14> CatalogCategories = {
    u"新闻中心", u"体育新闻", u"博客频道", u"科技新闻", u"财经新闻", u"军事新闻", u"女性新闻",
    u"汽车新闻", u"娱乐新闻", u"读书新闻", u"文化教育", u"房产新闻", u"游戏新闻", u"星座新闻",
};

std::u16string ChannelNameOf(std::u16string_view line) { return ExtractBetween(line, u"_", u"--"); }

namespace {

// The positions of every "_" of every line, gathered in one pass over the list. A line holds
// a category's marker (its name followed by "_") exactly when one of its "_" directly follows
// the name, so the fourteen category passes only look at these few positions.
class UnderscoreIndex {
 public:
  explicit UnderscoreIndex(const std::vector<std::u16string>& lines) {
    begins_.reserve(lines.size() + 1);
    for (const std::u16string& line : lines) {
      begins_.push_back(positions_.size());
      for (std::size_t p = line.find(u'_'); p != std::u16string::npos; p = line.find(u'_', p + 1))
        positions_.push_back(p);
    }
    begins_.push_back(positions_.size());
  }

  bool HasMarker(std::size_t lineIndex, std::u16string_view line, std::u16string_view name) const {
    for (std::size_t k = begins_[lineIndex]; k < begins_[lineIndex + 1]; ++k) {
      const std::size_t p = positions_[k];
      if (p >= name.size() && line.compare(p - name.size(), name.size(), name) == 0) return true;
    }
    return false;
  }

 private:
  std::vector<std::size_t> begins_;
  std::vector<std::size_t> positions_;
};

}  // namespace

CatalogNode BuildCatalogTree(const std::vector<std::u16string>& channelList) {
  CatalogNode root{std::u16string(CatalogRootText), {}};
  root.children.reserve(CatalogCategories.size());
  const UnderscoreIndex underscores(channelList);
  for (const std::u16string_view category : CatalogCategories) {
    CatalogNode& node = root.children.emplace_back();
    node.text = category;
    // One pass over the whole list per category, so each category's channels keep file order
    // and a line carrying two markers appears under both categories.
    for (std::size_t i = 0; i < channelList.size(); ++i) {
      if (underscores.HasMarker(i, channelList[i], category))
        node.children.push_back({ChannelNameOf(channelList[i]), {}});
    }
  }
  return root;
}

std::optional<std::size_t> FindChannelLine(const std::vector<std::u16string>& channelList,
                                           std::u16string_view channelText) {
  for (std::size_t i = 0; i < channelList.size(); ++i) {
    if (Contains(channelList[i], channelText)) return i;
  }
  return std::nullopt;
}

std::u16string ChannelUrlOf(std::u16string_view line) {
  // p is 1-based and 0 when there is no "--": the last L - p - 1 characters.
  const std::size_t p = FirstOccurrence(line, u"--");
  if (line.size() < p + 1) return {};
  return std::u16string(Right(line, line.size() - p - 1));
}

std::optional<std::u16string> ChannelTextOfPath(std::u16string_view fullPath) {
  std::vector<std::u16string> pieces = SplitAll(fullPath, CatalogPathSeparator);
  if (pieces.size() < 3) return std::nullopt;
  return std::move(pieces[2]);
}

}  // namespace langxing
