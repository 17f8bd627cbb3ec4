// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that need no network: catalog, channel look-up failures, help, version, usage.
#include <gtest/gtest.h>

#include "tests/cli/cli_run.hpp"

namespace langxing::cli {
namespace {

using test_support::RunIn;
using test_support::ScratchDir;

constexpr const char* kMissingFile = "错误！软件缺少必要文件";

TEST(CliCatalog, PrintsRootCategoriesAndChannelsIndented) {
  ScratchDir dir;
  dir.Write("chan.dll",
            "体育新闻_国际足球--http://sports.sina.com.cn/g/\r\n"
            "\r\n"
            "新闻中心_国内--http://news.sina.com.cn/china/\r\n"
            "体育新闻_NBA--http://sports.sina.com.cn/nba/\r\n"
            "星座新闻_每日运势--http://astro.sina.com.cn/\r\n");
  const auto run = RunIn("/nonexistent", {"catalog", dir.path().string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "朗星快报\n"
            "  新闻中心\n"
            "    国内\n"
            "  体育新闻\n"
            "    国际足球\n"
            "    NBA\n"
            "  博客频道\n"
            "  科技新闻\n"
            "  财经新闻\n"
            "  军事新闻\n"
            "  女性新闻\n"
            "  汽车新闻\n"
            "  娱乐新闻\n"
            "  读书新闻\n"
            "  文化教育\n"
            "  房产新闻\n"
            "  游戏新闻\n"
            "  星座新闻\n"
            "    每日运势\n");
}

TEST(CliCatalog, DefaultsToTheWorkingDirectory) {
  ScratchDir dir;
  dir.Write("chan.dll", "汽车新闻_新车--http://auto.sina.com.cn/\r\n");
  const auto run = RunIn(dir.path(), {"catalog"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("  汽车新闻\n    新车\n"), std::string::npos) << run.out;
}

TEST(CliCatalog, MissingChannelFileIsAnError) {
  ScratchDir empty;
  ScratchDir withFolderNamedLikeTheFile;
  std::filesystem::create_directory(withFolderNamedLikeTheFile.path() / "chan.dll");
  for (const auto& dir :
       {empty.path(), withFolderNamedLikeTheFile.path(), empty.path() / "no-such-folder"}) {
    const auto run = RunIn("/nonexistent", {"catalog", dir.string()});
    EXPECT_EQ(run.status, 1) << dir;
    EXPECT_EQ(run.out, "") << dir;
    EXPECT_NE(run.err.find(kMissingFile), std::string::npos) << dir;
  }
}

TEST(CliHeadlines, UnknownChannelOrMissingFileLoadsNothing) {
  ScratchDir dir;
  dir.Write("chan.dll", "体育新闻_NBA--http://sports.sina.com.cn/nba/\r\n");
  const auto notFound = RunIn(dir.path(), {"headlines", "--verbose", "国际足球"});
  EXPECT_EQ(notFound.status, 1);
  EXPECT_EQ(notFound.out, "");
  // The click's status text is the only one: nothing was fetched.
  EXPECT_EQ(notFound.err.rfind("状态：获取\n", 0), 0u) << notFound.err;
  EXPECT_EQ(notFound.err.find("状态：获取》"), std::string::npos) << notFound.err;
  EXPECT_NE(notFound.err.find("国际足球"), std::string::npos);

  ScratchDir empty;
  const auto missing = RunIn(empty.path(), {"headlines", "NBA"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find(kMissingFile), std::string::npos);
}

TEST(CliUsage, VersionHelpAndMistakes) {
  const auto version = RunIn(".", {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "langxing-cli 1.2\n");
  EXPECT_EQ(version.err, "");

  const auto help = RunIn(".", {"article", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, UsageText("article"));
  EXPECT_EQ(help.err, "");

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"--bogus"}, {"article", "--size", "big", "http://a/"}}) {
    const auto bad = RunIn(".", args);
    EXPECT_EQ(bad.status, ExitUsage);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("langxing-cli: ", 0), 0u) << bad.err;
    EXPECT_NE(bad.err.find("Usage: langxing-cli"), std::string::npos) << bad.err;
  }
}

}  // namespace
}  // namespace langxing::cli
