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
     {"全面启动", "迎来新进展", "正式落地实施", "受到广泛关注", "开通运营", "多地推出新举措"},
     {"新华社", "中国新闻网", "央视新闻"}},
    {"体育新闻",
     {"中国女排", "CBA常规赛", "国乒新星", "冬季两项世界杯", "中超转会窗口", "花样滑冰大奖赛"},
     {"三比零完胜对手", "迎来焦点之战", "晋级决赛", "创造赛季最佳成绩", "传来最新消息",
      "收官战落幕"},
     {"新浪体育", "体坛周报", "中国新闻网"}},
    {"科技新闻",
     {"国产大模型", "6G试验网络", "新一代折叠屏手机", "商业航天火箭", "量子计算原型机", "智能驾驶"},
     {"发布新版本", "完成关键测试", "正式开售", "发射成功", "取得重要突破", "进入规模应用"},
     {"新浪科技", "科技日报", "IT之家"}},
    {"财经新闻",
     {"A股三大指数", "央行公开市场", "人民币汇率", "新能源汽车板块", "港股科技股", "国际金价"},
     {"集体收涨", "开展逆回购操作", "小幅走高", "午后拉升", "震荡整理", "创下阶段新高"},
     {"新浪财经", "证券时报", "第一财经"}},
    {"军事新闻",
     {"海军舰艇编队", "新型运输机", "联合训练", "国际维和部队", "远海护航编队", "国防科技大学"},
     {"完成远海训练", "首次公开亮相", "圆满结束", "获联合国表彰", "启程执行任务", "发布最新成果"},
     {"中国军网", "解放军报", "央视军事"}},
    {"娱乐新闻",
     {"贺岁档新片", "热播电视剧", "跨年晚会", "金鸡奖", "音乐节", "话剧新作"},
     {"票房突破十亿", "收视领跑", "公布节目单", "揭晓获奖名单", "阵容官宣", "首演口碑火爆"},
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

}  // namespace

std::string SampleFeed(const Channel& channel, int channelIndex, int items) {
  const FeedTopics& topics = TopicsOf(channel);
  nlohmann::json data = nlohmann::json::array();
  for (int row = 0; row < items; ++row) {
    const auto pick = [row](const auto& list, int shift) {
      return std::string(list[static_cast<std::size_t>((row + shift) % 6)]);
    };
    const std::string subject = pick(topics.subjects, channelIndex);
    const std::string event = pick(topics.events, channelIndex + row / 6);
    const std::string title = subject + event;
    const std::string token = DocToken(channelIndex, row);
    const std::string time = std::to_string(kNewest - row * kMinutesApart * 60);
    data.push_back({
        {"docid", "comos:" + token},
        {"title", title},
        {"stitle", subject},
        {"url",
         "https://" + std::string(ArticleHost(channel)) + "/c/2026-12-09/doc-i" + token + ".shtml"},
        {"wapurl", "https://news.sina.cn/2026-12-09/detail-i" + token + ".d.html"},
        {"intro", title + "。记者从有关方面获悉，相关工作正在有序推进。"},
        {"summary", ""},
        {"media_name", std::string(topics.media[static_cast<std::size_t>(row % 3)])},
        {"keywords", subject},
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
