// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/portal/page_markup.hpp"

namespace langxing::testportal {
namespace {

// Appends one line ending in CR LF, indented by `tabs` tab characters.
void Line(std::string& out, int tabs, std::string_view text) {
  out.append(static_cast<std::size_t>(tabs), '\t');
  out += text;
  out += "\r\n";
}

void Head(std::string& out, std::string_view title, std::string_view charset) {
  Line(out, 0,
       "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">");
  Line(out, 0, "<html xmlns=\"http://www.w3.org/1999/xhtml\">");
  Line(out, 0, "<head>");
  Line(out, 0,
       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + std::string(charset) +
           "\" />");
  Line(out, 0, "<title>" + EscapeText(title) + "</title>");
  Line(out, 0, "<style type=\"text/css\">");
  Line(out, 0, "body,td{font-size:12px;font-family:\"宋体\";}");
  Line(out, 0, "a:link{color:#009;text-decoration:none;}");
  Line(out, 0, "</style>");
  Line(out, 0, "</head>");
}

void TopBar(std::string& out) {
  Line(out, 0,
       "<div class=\"topbar\"><a href=http://www.sina.com.cn/>新浪首页</a> | "
       "<a href=http://news.sina.com.cn/>新闻中心</a> | <a "
       "href=http://sports.sina.com.cn/>体育</a> | "
       "<a href=http://auto.sina.com.cn/>汽车</a> | <a "
       "href=http://blog.sina.com.cn/>博客</a></div>");
}

// The portal's footer, then the end of the body and of the page.
void EndPageWithFooter(std::string& out) {
  Line(out, 0, "<div class=\"footer\">新浪简介 | About Sina | 广告服务 | 联系我们 | 招聘信息<br>");
  Line(out, 0, "Copyright &copy; 1996-2010 SINA Corporation, All Rights Reserved</div>");
  Line(out, 0, "</body>");
  Line(out, 0, "</html>");
}

void ArticleBody(std::string& out, const Article& article, int tabs) {
  for (std::size_t i = 0; i < article.images.size(); ++i) {
    Line(out, tabs,
         "<div class=\"img_wrapper\"><img src=\"" + article.images[i] + "\" alt=\"" +
             EscapeText(article.title) + "\" border=0>");
    if (i == 0 && !article.imageCaption.empty()) {
      Line(out, tabs, "<span class=\"img_descr\">" + EscapeText(article.imageCaption) + "</span>");
    }
    Line(out, tabs, "</div>");
  }
  for (const std::string& paragraph : article.paragraphs) {
    Line(out, tabs, "<p>　　" + EscapeText(paragraph) + "</p>");
  }
  if (!article.flash.empty()) {
    Line(out, tabs,
         "<div align=center><embed src=\"" + article.flash +
             "\" quality=high width=480 height=360 "
             "type=\"application/x-shockwave-flash\"></embed></div>");
  }
  if (!article.video.empty()) {
    Line(out, tabs,
         "<span class=\"contentPlayer\"><embed src=\"" + article.video +
             "\" width=480 height=370 allowfullscreen=true "
             "type=\"application/x-shockwave-flash\"></embed></span>");
  }
}

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ListingMarkup(std::string_view pageTitle, const std::vector<Headline>& headlines) {
  std::string out;
  out.reserve(512 + headlines.size() * 320);
  Head(out, std::string(pageTitle) + "_新闻中心_新浪网", "gb2312");
  Line(out, 0, "<body>");
  TopBar(out);
  Line(out, 0, "<center>");
  Line(out, 0, "<table width=\"620\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">");
  Line(out, 1, "<tr bgcolor=\"#EEEEEE\">");
  Line(out, 2, "<td height=\"25\" class=\"title\">&nbsp;&nbsp;" + EscapeText(pageTitle) + "</td>");
  Line(out, 1, "</tr>");
  for (const Headline& headline : headlines) {
    Line(out, 1, "<tr>");
    Line(out, 2,
         "<td style=\"padding-left:5px;padding-top:5px\" height=\"30\"><b>" +
             EscapeText(headline.title) + "</b></td>");
    Line(out, 1, "</tr>");
    Line(out, 1, "<tr>");
    Line(out, 2,
         "<td><span><a target=\"_blank\" href=\"" + headline.href + "\">" +
             EscapeText(headline.href) + "</a></span></td>");
    Line(out, 1, "</tr>");
  }
  Line(out, 1, "<tr><td height=\"20\"></td></tr></table></center>");
  EndPageWithFooter(out);
  return out;
}

std::string NewsArticleMarkup(const Article& article) {
  std::string out;
  Head(out, article.title + "_新闻中心_新浪网", "gb2312");
  Line(out, 0, "<body>");
  TopBar(out);
  Line(out, 0, "<div class=\"wrap\">");
  Line(out, 0, "<!-- 内容列 begin -->");
  Line(out, 0, "<div class=\"blkContainer\">");
  Line(out, 1, "<div class=\"blkContainerSblk\">");
  Line(out, 2,
       "<h1 id=\"artibodyTitle\" style=\"color:#03005C;\">" + EscapeText(article.title) + "</h1>");
  Line(out, 2,
       "<div class=\"artInfo\"><span id=\"art_source\">" + EscapeText(article.source) +
           "</span>&nbsp;&nbsp;<span id=\"pub_date\">" + EscapeText(article.published) +
           "</span></div>");
  Line(out, 2, "<div class=\"blkContainerSblkCon\" id=\"artibody\">");
  ArticleBody(out, article, 3);
  Line(out, 2, "</div>");
  Line(out, 1, "</div>");
  Line(out, 0, "</div>");
  Line(out, 0, "<!-- publish_helper_end -->");
  Line(out, 0, "<!-- 内容列 end -->");
  Line(out, 0, "</div>");
  EndPageWithFooter(out);
  return out;
}

std::string AutoArticleMarkup(const Article& article) {
  std::string out;
  Head(out, article.title + "_汽车频道_新浪网", "gb2312");
  Line(out, 0, "<body>");
  TopBar(out);
  Line(out, 0, "<div class=\"main\">");
  Line(out, 1, "<div class=\"artical\">");
  Line(out, 2, "<h1 id=\"artibodyTitle\">" + EscapeText(article.title) + "</h1>");
  Line(out, 2,
       "<div class=\"artInfo\">" + EscapeText(article.published) + "&nbsp;&nbsp;" +
           EscapeText(article.source) + "</div>");
  Line(out, 2, "<div id=\"artibody\">");
  ArticleBody(out, article, 3);
  Line(out, 2, "</div>");
  Line(out, 2, "<!-- publish_helper_end -->");
  Line(out, 1, "</div>");
  Line(out, 0, "</div>");
  EndPageWithFooter(out);
  return out;
}

std::string BlogArticleMarkup(const Article& article, std::string_view blogger) {
  std::string out;
  Head(out, article.title + "_" + std::string(blogger) + "_新浪博客", "utf-8");
  Line(out, 0, "<body>");
  Line(out, 0, "<div class=\"sinablogHead\"><a href=http://blog.sina.com.cn/>新浪博客</a></div>");
  Line(out, 0,
       "<div class=\"articalTitle\"><h2 class=\"titName SG_txta\">" + EscapeText(article.title) +
           "</h2><span class=\"time SG_txtc\">(" + EscapeText(article.published) +
           ")</span></div>");
  Line(out, 0, "<div class=\"articalContent\" id=\"sina_keyword_ad_area2\">");
  Line(out, 1, "<!-- 正文开始 -->");
  ArticleBody(out, article, 1);
  Line(out, 1, "<!-- 正文结束 -->");
  Line(out, 0, "</div>");
  Line(out, 0,
       "<div class=\"footer\">新浪BLOG意见反馈留言板 不良信息反馈 Copyright &copy; 1996 - 2010 "
       "SINA Corporation</div>");
  Line(out, 0, "</body>");
  Line(out, 0, "</html>");
  return out;
}

std::string AnnouncementMarkup(std::string_view blockText) {
  std::string out;
  Head(out, "朗星快报更新公告_朗星的博客_新浪博客", "utf-8");
  Line(out, 0, "<body>");
  Line(out, 0,
       "<div class=\"articalTitle\"><h2 class=\"titName SG_txta\">朗星快报更新公告</h2></div>");
  Line(out, 0, "<div class=\"articalContent\">");
  Line(out, 1, "<!-- 正文开始 -->");
  Line(out, 1, "<div>" + EscapeText(blockText) + "</div>");
  Line(out, 1, "<!-- 正文结束 -->");
  Line(out, 0, "</div>");
  Line(out, 0, "</body>");
  Line(out, 0, "</html>");
  return out;
}

}  // namespace langxing::testportal
