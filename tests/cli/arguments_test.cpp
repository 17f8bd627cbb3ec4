// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace langxing::cli {
namespace {

using Args = std::vector<std::string>;

Request ParseOk(const Args& args) {
  const ParseOutcome outcome = ParseArguments(args);
  EXPECT_TRUE(outcome.request.has_value()) << "error: " << outcome.error;
  return outcome.request.value_or(Request{});
}

TEST(CliArguments, ArticleOptionsInEitherSpellingAndPosition) {
  const Request request = ParseOk({"article", "--images", "0", "http://news.sina.com.cn/a.shtml",
                                   "--video=7", "--colour", "#2E8B57", "--size=-3", "--verbose"});
  EXPECT_EQ(request.command, Command::Article);
  EXPECT_EQ(request.url, "http://news.sina.com.cn/a.shtml");
  EXPECT_EQ(request.reader.showImages, 0);
  EXPECT_EQ(request.reader.showVideo, 7);
  EXPECT_EQ(request.reader.backgroundColour, u"#2E8B57");
  EXPECT_EQ(request.reader.fontSize, -3);
  EXPECT_TRUE(request.verbose);
}

TEST(CliArguments, ArticleDefaultsAreTheWindowsStartValues) {
  const Request request = ParseOk({"article", "http://x.sina.com.cn/"});
  EXPECT_EQ(request.reader.showImages, 1);
  EXPECT_EQ(request.reader.showVideo, 0);
  EXPECT_EQ(request.reader.backgroundColour, u"0");
  EXPECT_EQ(request.reader.fontSize, 14);
  EXPECT_FALSE(request.verbose);
}

TEST(CliArguments, HeadlinesTakeAChannelOrAnAddress) {
  const Request byChannel = ParseOk({"headlines", "国际足球"});
  EXPECT_EQ(byChannel.channel, "国际足球");
  EXPECT_FALSE(byChannel.url);

  const Request byUrl = ParseOk({"headlines", "--url", "http://sports.sina.com.cn/"});
  EXPECT_EQ(byUrl.url, "http://sports.sina.com.cn/");
  EXPECT_FALSE(byUrl.channel);

  // After "--" a word that looks like an option is the channel text.
  EXPECT_EQ(ParseOk({"headlines", "--", "--NBA"}).channel, "--NBA");
  // The empty channel text is what a click on an empty node looks for.
  EXPECT_EQ(ParseOk({"headlines", ""}).channel, "");
}

TEST(CliArguments, VerboseMayStandBeforeTheCommand) {
  const Request request = ParseOk({"--verbose", "headlines", "NBA"});
  EXPECT_EQ(request.command, Command::Headlines);
  EXPECT_TRUE(request.verbose);
  EXPECT_EQ(request.channel, "NBA");
}

TEST(CliArguments, CatalogDirectoryIsOptional) {
  EXPECT_FALSE(ParseOk({"catalog"}).directory);
  EXPECT_EQ(ParseOk({"catalog", "/srv/news"}).directory, "/srv/news");
}

TEST(CliArguments, CheckUpdateAddressIsOptional) {
  EXPECT_FALSE(ParseOk({"check-update"}).url);
  EXPECT_EQ(ParseOk({"check-update", "--url=http://blog.sina.com.cn/u"}).url,
            "http://blog.sina.com.cn/u");
}

TEST(CliArguments, HelpAndVersion) {
  EXPECT_EQ(ParseOk({"--version"}).command, Command::Version);
  const Request general = ParseOk({"--help"});
  EXPECT_EQ(general.command, Command::Help);
  EXPECT_EQ(general.helpTopic, "");
  // --help wins over whatever else is wrong on the line.
  const Request article = ParseOk({"article", "--size", "abc", "--help"});
  EXPECT_EQ(article.command, Command::Help);
  EXPECT_EQ(article.helpTopic, "article");
  EXPECT_NE(UsageText("article").find("--colour"), std::string::npos);
  EXPECT_NE(UsageText("").find("check-update"), std::string::npos);
}

TEST(CliArguments, MistakesAreRefusedWithTheCommandNamed) {
  struct Case {
    Args args;
    std::string command;  // whose usage goes with the error
  };
  const Case cases[] = {
      {{}, ""},
      {{"frobnicate"}, ""},
      {{"--bogus"}, ""},
      {{"--version", "extra"}, ""},
      {{"catalog", "a", "b"}, "catalog"},
      {{"catalog", "--verbose"}, "catalog"},
      {{"--verbose", "catalog"}, "catalog"},
      {{"--verbose"}, ""},
      {{"headlines"}, "headlines"},
      {{"headlines", "NBA", "--url", "http://a/"}, "headlines"},
      {{"headlines", "--url"}, "headlines"},
      {{"headlines", "--url", "http://a/", "--url", "http://b/"}, "headlines"},
      {{"inner-html"}, "inner-html"},
      {{"inner-text", "http://a/", "http://b/"}, "inner-text"},
      {{"inner-html", "--images", "0", "http://a/"}, "inner-html"},
      {{"article", "http://a/", "--images", "256"}, "article"},
      {{"article", "http://a/", "--video", "-1"}, "article"},
      {{"article", "http://a/", "--size", "40000"}, "article"},
      {{"article", "http://a/", "--size", "14px"}, "article"},
      {{"article", "http://a/", "--size", ""}, "article"},
      {{"article", "http://a/", "--colour"}, "article"},
      {{"article", "--url", "http://a/"}, "article"},
      {{"check-update", "http://a/"}, "check-update"},
      {{"check-update", "--verbose=yes"}, "check-update"},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const auto& a : c.args) joined += "[" + a + "]";
    const ParseOutcome outcome = ParseArguments(c.args);
    EXPECT_FALSE(outcome.request.has_value()) << joined;
    EXPECT_FALSE(outcome.error.empty()) << joined;
    EXPECT_EQ(outcome.command, c.command) << joined;
  }
}

}  // namespace
}  // namespace langxing::cli
