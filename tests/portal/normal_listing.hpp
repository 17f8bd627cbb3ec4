// SPDX-License-Identifier: GPL-3.0-or-later
// The headline entries of the fixture's normal listing (listing_normal.html, and
// listing_spaced.html with the same headlines), in page order, as the scraper cuts them out of
// the hidden view's markup: title, ";", the link in double quotes and one blank. UTF-8.
#pragma once

#include <string>
#include <vector>

namespace langxing::testportal {

inline const std::vector<std::string> kNormalListingEntries = {
    "北京地铁四号线今日起试运营;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
    "083020191234.shtml\" ",
    "新款国产轿车正式上市 "
    "售价公布;\"http://go.sina.com.cn/?url=http://auto.sina.com.cn/news/2010-05-01/"
    "0812581234.shtml\" ",
    "志愿者日记：我在世博园的第一天;\"http://go.sina.com.cn/?url=http://blog.sina.com.cn/s/"
    "blog_4b0f52990100i7xz.html\" ",
    "央行宣布上调存款准备金率0.5个百分点;\"http://finance.sina.com.cn/g/20100502/17007862.shtml\" ",
    "专访朗星快报作者：用软件读新闻;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/"
    "2010-05-01/langxing.shtml\" ",
    "外电：各国媒体关注上海世博会开幕;\"http://go.sina.com.cn/?url=http://www.example.org/"
    "article.html\" ",
    "多地出台措施稳定房价;\"http://go.sina.com.cn/?url=http://news.sina.com.cn/c/2010-05-01/"
    "no_end.shtml\" ",
};

}  // namespace langxing::testportal
