// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/sample_feeds.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

namespace langxing::testportal {
namespace {

constexpr std::int64_t kNewest = 1796774400;  // 2026-12-09 08:00 in Beijing
constexpr int kMinutesApart = 7;

struct FeedTopics {
  std::string_view category;
  std::array<std::string_view, 6> subjects;
  std::array<std::string_view, 6> events;
  std::array<std::string_view, 3> media;
};

constexpr std::array<FeedTopics, 6> kFeedTopics{{
    {"新闻中心",
     {"全国冬季供暖", "城市更新行动", "新版医保目录", "冬季旅游专列", "高铁新线", "社区养老服务"},
     {"迎来新进展", "正式落地实施", "受到广泛关注", "多地推出新举措", "取得阶段性成效",
      "最新情况发布"},
     {"新华社", "中国新闻网", "央视新闻"}},
    {"体育新闻",
     {"中国女排", "CBA常规赛", "国乒新星", "冬季两项世界杯", "中超转会窗口", "花样滑冰大奖赛"},
     {"传来最新消息", "赛程正式公布", "引发球迷热议", "迎来关键一战", "名单出炉", "精彩看点前瞻"},
     {"新浪体育", "体坛周报", "中国新闻网"}},
    {"科技新闻",
     {"国产大模型", "6G试验网络", "新一代折叠屏手机", "商业航天", "量子计算", "智能驾驶"},
     {"取得重要突破", "进入规模应用", "发布新进展", "迎来新一轮竞争", "行业标准出炉",
      "专家解读发展前景"},
     {"新浪科技", "科技日报", "IT之家"}},
    {"财经新闻",
     {"A股三大指数", "沪深两市成交额", "人民币汇率", "新能源汽车板块", "港股科技股", "国际金价"},
     {"集体收涨", "小幅走高", "午后拉升", "震荡整理", "创下阶段新高", "早盘走弱"},
     {"新浪财经", "证券时报", "第一财经"}},
    {"军事新闻",
     {"海军舰艇编队", "新型运输机", "联合训练", "维和部队", "远海护航编队", "空军飞行员"},
     {"圆满完成任务", "获外媒关注", "进入新阶段", "画面曝光", "专家详细解读", "最新动态发布"},
     {"中国军网", "解放军报", "央视军事"}},
    {"娱乐新闻",
     {"贺岁档新片", "热播电视剧", "跨年晚会", "金鸡奖", "音乐节", "话剧新作"},
     {"引发观众热议", "阵容官宣", "口碑持续走高", "幕后故事揭秘", "最新海报发布", "获赞不断"},
     {"新浪娱乐", "中国新闻网", "北京青年报"}},
}};

const FeedTopics& TopicsOf(const Channel& channel) {
  for (const FeedTopics& topics : kFeedTopics)
    if (channel.category == topics.category) return topics;
  return kFeedTopics.front();
}

std::string_view ArticleHost(const Channel& channel) {
  if (channel.category == "财经新闻") return "finance.sina.com.cn";
  if (channel.category == "科技新闻") return "tech.sina.com.cn";
  return "news.sina.com.cn";
}

// A document token as the portal writes them: "n", seven letters, seven digits.
std::string DocToken(int channelIndex, int row) {
  std::uint32_t seed = static_cast<std::uint32_t>(channelIndex) * 7919u +
                       static_cast<std::uint32_t>(row) * 104729u + 12345u;
  std::string token = "n";
  for (int i = 0; i < 7; ++i) {
    seed = seed * 1103515245u + 12345u;
    token += static_cast<char>('a' + (seed >> 16) % 26);
  }
  const std::string digits = std::to_string(1000000 + (channelIndex * 100 + row) % 9000000);
  return token + digits.substr(digits.size() - 7);
}

// Channel pages that name their feed on the page, with the pair they name.
struct FeedNamingPage {
  std::string_view address;
  std::string_view heading;
  int pageid;
  int lid;
};
constexpr std::array<FeedNamingPage, 1> kFeedNamingPages{{
    {"https://news.sina.com.cn/china/", "国内新闻", 121, 1356},
}};

}  // namespace

std::optional<std::string> SampleFeedNamingPage(const Channel& channel) {
  for (const FeedNamingPage& page : kFeedNamingPages) {
    if (channel.address != page.address) continue;
    const std::string heading(page.heading);
    // The list is empty until the page's script fills it from the feed its config names.
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>" + heading +
           "_新浪网</title>\n</head><body>\n<div class=\"main-content\"><h2>" + heading +
           "</h2>\n<div class=\"feed-card-content\" id=\"feedCardContent\"></div></div>\n"
           "<script>\n  var feedCardConfig = {\n    pageid: " +
           std::to_string(page.pageid) +
           ",\n    num: 20,\n    firstTab: {\n      name: \"最新\",\n      lid: " +
           std::to_string(page.lid) +
           ",\n      filter: { tag: \"\" }\n    }\n  };\n</script>\n</body></html>\n";
  }
  return std::nullopt;
}

std::vector<SampleFeedItem> SampleFeedItems(const Channel& channel, int channelIndex, int items) {
  const FeedTopics& topics = TopicsOf(channel);
  std::vector<SampleFeedItem> list;
  for (int row = 0; row < items; ++row) {
    const auto pick = [row](const auto& list, int shift) {
      return std::string(list[static_cast<std::size_t>((row + shift) % 6)]);
    };
    const std::string subject = pick(topics.subjects, channelIndex);
    const std::string event = pick(topics.events, channelIndex + row / 6);
    const std::string token = DocToken(channelIndex, row);
    list.push_back(
        {"https://" + std::string(ArticleHost(channel)) + "/c/2026-12-09/doc-i" + token + ".shtml",
         subject, subject + event, std::string(topics.media[static_cast<std::size_t>(row % 3)])});
  }
  return list;
}

std::string SampleFeed(const Channel& channel, int channelIndex, int items) {
  nlohmann::json data = nlohmann::json::array();
  int row = 0;
  for (const SampleFeedItem& item : SampleFeedItems(channel, channelIndex, items)) {
    const std::string token = DocToken(channelIndex, row);
    const std::string time = std::to_string(kNewest - row * kMinutesApart * 60);
    ++row;
    data.push_back({
        {"docid", "comos:" + token},
        {"title", item.title},
        {"stitle", item.subject},
        {"url", item.url},
        {"wapurl", "https://news.sina.cn/2026-12-09/detail-i" + token + ".d.html"},
        {"intro", item.title + "。记者从有关方面获悉，相关工作正在有序推进。"},
        {"summary", ""},
        {"media_name", item.source},
        {"keywords", item.subject},
        {"author", ""},
        {"ctime", time},
        {"intime", time},
        {"mtime", time},
    });
  }
  const nlohmann::json answer = {{"result",
                                  {{"status", {{"code", 0}, {"msg", "succ"}}},
                                   {"timestamp", "Wed Dec 09 08:00:00 +0800 2026"},
                                   {"total", items},
                                   {"start", kNewest - std::max(items - 1, 0) * kMinutesApart * 60},
                                   {"end", kNewest},
                                   {"data", std::move(data)}}}};
  // Non-ASCII characters as \uXXXX escapes, as the portal writes them.
  return answer.dump(-1, ' ', true);
}

}  // namespace langxing::testportal
