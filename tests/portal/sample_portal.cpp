// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/sample_portal.hpp"

#include <array>
#include <cstdio>

#include "core/text.hpp"
#include "headlines/roll_feed_address.hpp"
#include "headlines/roll_feed_page.hpp"
#include "tests/portal/images.hpp"
#include "tests/portal/page_markup.hpp"
#include "tests/portal/portal_url.hpp"
#include "tests/portal/sample_feeds.hpp"
#include "tests/portal/sample_today_articles.hpp"

namespace langxing::testportal {
namespace {

constexpr std::string_view kRedirectPrefix = "http://go.sina.com.cn/?url=";
constexpr std::string_view kPublished = "2010年05月01日08:30";
constexpr std::string_view kImageBase = "http://i1.sinaimg.cn/dy/sample/";
constexpr int kJpgCount = 8, kBmpCount = 4, kGifCount = 4;

// Headline words per category: a subject and what happened to it.
struct Topics {
  std::string_view category;
  std::array<std::string_view, 6> subjects;
  std::array<std::string_view, 6> events;
};

constexpr std::array<Topics, 14> kTopics{{
    {"新闻中心",
     {"地铁新线", "世博园区", "城市公交", "高考报名", "医改方案", "春季植树"},
     {"正式启动", "迎来客流高峰", "公布最新进展", "引发市民热议", "出台新规定", "通过专家评审"}},
    {"体育新闻",
     {"国足", "中超联赛", "湖人队", "刘翔", "中国女排", "世界杯"},
     {"主场取胜", "公布大名单", "遭遇伤病困扰", "备战关键一役", "主帅谈战术", "创下赛季纪录"}},
    {"博客频道",
     {"名博", "草根博主", "旅行日记", "美食博文", "育儿心得", "读书笔记"},
     {"引发网友热议", "登上推荐榜", "分享心得体会", "获万次点击", "记录身边小事", "讲述真实故事"}},
    {"科技新闻",
     {"智能手机", "3G网络", "搜索引擎", "电子书阅读器", "上网本", "微博客"},
     {"发布新品", "用户数突破千万", "价格大幅下调", "修补安全漏洞", "获得风险投资",
      "公布季度财报"}},
    {"财经新闻",
     {"A股", "央行", "房贷利率", "人民币汇率", "基金公司", "国际油价"},
     {"震荡走高", "出台调控措施", "创年内新低", "小幅上涨", "发布一季度报告", "引发市场关注"}},
    {"军事新闻",
     {"海军舰艇编队", "新型战机", "联合演习", "维和部队", "远洋护航", "国防预算"},
     {"顺利完成任务", "首次公开亮相", "在南海举行", "获外媒关注", "进入新阶段", "专家详细解读"}},
    {"女性新闻",
     {"春夏新装", "护肤秘诀", "减肥食谱", "婚恋话题", "职场女性", "亲子教育"},
     {"成为流行趋势", "专家支招", "网友热烈讨论", "最新调查出炉", "明星推荐", "五大要点"}},
    {"汽车新闻",
     {"新款轿车", "国产SUV", "北京车展", "汽车下乡", "小排量车", "新能源汽车"},
     {"正式上市", "售价公布", "销量创新高", "实拍图曝光", "获补贴政策支持", "试驾体验"}},
    {"娱乐新闻",
     {"新片", "电视剧", "歌手演唱会", "电影节", "选秀节目", "明星婚礼"},
     {"票房告捷", "举行开机发布会", "门票售罄", "红毯星光熠熠", "决赛落幕", "低调举行"}},
    {"读书新闻",
     {"畅销小说", "历史读物", "名家散文集", "少儿图书", "图书博览会", "网络文学"},
     {"登上排行榜", "首发签售", "再版发行", "获文学奖", "在京开幕", "改编成电视剧"}},
    {"文化教育",
     {"高考作文", "留学申请", "博物馆", "非物质文化遗产", "研究生招生", "中小学课改"},
     {"公布新政策", "免费开放", "申报工作启动", "分数线公布", "引发教育界讨论", "专家解读"}},
    {"房产新闻",
     {"二手房", "楼市新政", "保障性住房", "商品房均价", "土地拍卖", "房贷首付"},
     {"成交量回落", "正式实施", "开工建设", "环比上涨", "诞生新地王", "比例提高"}},
    {"游戏新闻",
     {"网络游戏", "单机大作", "电子竞技比赛", "游戏展会", "手机游戏", "休闲游戏"},
     {"开始公测", "正式发售", "决赛开打", "盛大开幕", "玩家数量激增", "推出新版本"}},
    {"星座新闻",
     {"白羊座", "金牛座", "双子座", "巨蟹座", "狮子座", "处女座"},
     {"本周运势", "爱情运势解析", "五月财运提示", "性格大揭秘", "幸运色公布", "工作运势看涨"}},
}};

const Topics& TopicsFor(const Channel& channel) {
  for (const Topics& topics : kTopics) {
    if (channel.category.find(topics.category) != std::string::npos) return topics;
  }
  return kTopics.front();
}

constexpr std::array<std::string_view, 10> kPlaces{"北京", "上海", "广州", "深圳", "杭州",
                                                   "成都", "武汉", "南京", "西安", "重庆"};

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t min = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, min = 0x10000;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    std::uint32_t code = lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.push_back(std::move(current));
      current.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) lines.push_back(std::move(current));
  return lines;
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

std::string Numbered(const char* format, int a, int b) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

std::string ImageAddress(const char* extension, int index) {
  return std::string(kImageBase) + "pic" + std::to_string(index) + extension;
}

enum class Kind { News, Auto, Blog };

struct SampleArticle {
  Kind kind;
  std::string address;
  Article article;
};

SampleArticle MakeArticle(const Channel& channel, int channelIndex, int row) {
  const Topics& topics = TopicsFor(channel);
  const std::string_view subject = topics.subjects[static_cast<std::size_t>(row % 6)];
  const std::string_view event = topics.events[static_cast<std::size_t>((row % 6 + row / 6) % 6)];
  const std::string_view place =
      kPlaces[static_cast<std::size_t>((channelIndex + row) % kPlaces.size())];
  const Kind kind = static_cast<Kind>((channelIndex + row) % 3);

  SampleArticle sample{.kind = kind, .address = {}, .article = {}};
  Article& article = sample.article;
  article.title = std::string(subject) + std::string(event);
  if (kind == Kind::News && row % 2 == 0) article.title = std::string(place) + article.title;
  article.source = kind == Kind::Blog ? "新浪博客" : (row % 2 ? "新华网" : "中国新闻网");
  article.published = std::string(kPublished);
  article.paragraphs = {
      "新浪网" + std::string(place) + "5月1日消息，" + article.title +
          "。记者从有关方面获悉，此事受到社会各界的广泛关注。",
      "据介绍，" + std::string(subject) +
          "近来备受瞩目。相关负责人表示，将继续认真听取各方意见，确保各项工作顺利推进。",
      "业内人士分析认为，" + std::string(subject) + std::string(event) +
          "并非偶然，这与近年来的持续投入密不可分，预计今后一段时间仍将保持良好势头。",
      "对此，不少网友在网上留言表示支持，也有网友提出了自己的建议。本网将继续关注事件进展。",
  };
  article.images.push_back(ImageAddress(".jpg", (channelIndex * 3 + row) % kJpgCount));
  article.imageCaption = std::string(subject) + "（资料图）";

  const int day = 1 + channelIndex % 28;
  switch (kind) {
    case Kind::News: {
      std::string host = HostOf(channel.address);
      const bool plainPortalHost = host.ends_with(".sina.com.cn") && host != "blog.sina.com.cn" &&
                                   host != "auto.sina.com.cn" && host != "video.sina.com.cn";
      if (!plainPortalHost) host = "news.sina.com.cn";
      sample.address =
          "http://" + host + Numbered("/c/2010-05-%02d/%05d.shtml", day, channelIndex * 100 + row);
      if (row % 2 == 0) article.images.push_back(ImageAddress(".bmp", row % kBmpCount));
      if (row % 6 == 0) {
        article.video = Numbered("http://video.sina.com.cn/p/news/v/2010-05-%02d/%05d.swf", day,
                                 channelIndex * 100 + row);
      }
      if (row % 6 == 3)
        article.flash = "http://www.sina.com.cn/flash/sample_" + std::to_string(row) + ".swf";
      break;
    }
    case Kind::Auto:
      sample.address = Numbered("http://auto.sina.com.cn/news/2010-05-%02d/%05d.shtml", day,
                                channelIndex * 100 + row);
      if (row % 4 == 1) article.images.push_back(ImageAddress(".bmp", (row + 1) % kBmpCount));
      break;
    case Kind::Blog:
      sample.address =
          Numbered("http://blog.sina.com.cn/s/blog_4b%06x0100%04x.html", channelIndex, row);
      article.images.push_back(ImageAddress(".gif", row % kGifCount));
      break;
  }
  return sample;
}

std::string ArticleMarkup(const SampleArticle& sample) {
  switch (sample.kind) {
    case Kind::News:
      return ToGbk(NewsArticleMarkup(sample.article));
    case Kind::Auto:
      return ToGbk(AutoArticleMarkup(sample.article));
    case Kind::Blog:
      return BlogArticleMarkup(sample.article, "新浪网友的博客");
  }
  return {};
}

void AddPictures(std::map<std::string, Page>& pages) {
  constexpr std::array<Rgb, 8> kColours{{{0x4A, 0x90, 0xD9},
                                         {0xE8, 0x6A, 0x5C},
                                         {0x5C, 0xB8, 0x5C},
                                         {0xF0, 0xAD, 0x4E},
                                         {0x8E, 0x6C, 0xC8},
                                         {0x3A, 0xAF, 0xA9},
                                         {0xD9, 0x53, 0x8F},
                                         {0x7F, 0x8C, 0x8D}}};
  for (int i = 0; i < kJpgCount; ++i) {
    pages[ImageAddress(".jpg", i)] =
        Page{.body = SolidPng(320, 200, kColours[static_cast<std::size_t>(i)]),
             .contentType = "image/png"};
  }
  for (int i = 0; i < kBmpCount; ++i) {
    pages[ImageAddress(".bmp", i)] =
        Page{.body = SolidBmp(200, 120, kColours[static_cast<std::size_t>(7 - i)]),
             .contentType = "image/bmp"};
  }
  for (int i = 0; i < kGifCount; ++i) {
    pages[ImageAddress(".gif", i)] =
        Page{.body = SolidGif(240, 160, kColours[static_cast<std::size_t>(i * 2)]),
             .contentType = "image/gif"};
  }
}

}  // namespace

std::vector<Channel> ReadChannels(std::string_view fileBytes) {
  std::string text;
  if (IsValidUtf8(fileBytes)) {
    text = fileBytes;
  } else if (auto decoded = FromGbk(fileBytes)) {
    text = *decoded;
  } else {
    return {};
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  std::vector<Channel> channels;
  for (const std::string& line : SplitLines(text)) {
    const std::size_t dashes = line.find("--");
    if (dashes == std::string::npos) continue;
    std::string address = Trim(std::string_view(line).substr(dashes + 2));
    if (!address.starts_with("http://") && !address.starts_with("https://")) continue;
    const std::string head = line.substr(0, dashes);
    const std::size_t underscore = head.find('_');
    Channel channel;
    channel.category = underscore == std::string::npos ? std::string() : head.substr(0, underscore);
    channel.name = underscore == std::string::npos ? head : head.substr(underscore + 1);
    channel.address = std::move(address);
    channels.push_back(std::move(channel));
  }
  return channels;
}

std::map<std::string, Page> SamplePages(const std::vector<Channel>& channels) {
  std::map<std::string, Page> pages;
  for (std::size_t c = 0; c < channels.size(); ++c) {
    const Channel& channel = channels[c];
    // A channel of today's portal is its roll feed, named in its address or on its page; its
    // articles come from the article pages of today's template.
    auto feed = RollFeedRequestOf(Utf8ToUtf16(channel.address));
    if (const auto page = feed ? std::nullopt : SampleFeedNamingPage(channel)) {
      pages[channel.address] = Page{.body = *page, .contentType = "text/html; charset=utf-8"};
      feed = RollFeedRequestOfPage(Utf8ToUtf16(channel.address), *page);
    }
    if (feed) {
      pages[Utf16ToUtf8(feed->feedUrl)] = Page{.body = SampleFeed(channel, static_cast<int>(c)),
                                               .contentType = "application/json; charset=utf-8"};
      // Each headline opens an article that tells that headline.
      for (const SampleFeedItem& item : SampleFeedItems(channel, static_cast<int>(c))) {
        if (auto page = SampleTodayArticle(item.url, {item.subject, item.title, item.source}))
          pages[item.url] = std::move(*page);
      }
      continue;
    }
    std::vector<Headline> headlines;
    for (int row = 0; row < kSampleHeadlinesPerChannel; ++row) {
      SampleArticle sample = MakeArticle(channel, static_cast<int>(c), row);
      headlines.push_back({sample.article.title, std::string(kRedirectPrefix) + sample.address});
      pages[sample.address] = Page{.body = ArticleMarkup(sample)};
    }
    pages[channel.address] = Page{.body = ToGbk(ListingMarkup(channel.name, headlines))};
  }
  AddPictures(pages);
  pages[LANGXING_PORTAL_UPDATE_PAGE_URL] =
      Page{.body = AnnouncementMarkup(
               "<new><newMsg>欢迎使用朗星快报，新闻每日更新</newMsg><beta>1.2</beta>"
               "<newdown>http://blog.sina.com.cn/s/langxing_download.html</newdown></new>")};
  return pages;
}

}  // namespace langxing::testportal
