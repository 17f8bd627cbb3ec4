// SPDX-License-Identifier: GPL-3.0-or-later
// The built program itself: its exit statuses and its streams reach the shell intact.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/cli/cli_run.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/support/raw_port.hpp"

namespace langxing::cli {
namespace {

struct ProcessRun {
  int status = -1;
  std::string out, err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// Runs langxing-cli with `arguments` (already shell-quoted) after `shellPrefix` (a `cd` or
// environment settings) and collects both streams; `stdoutTo` replaces the captured stdout.
ProcessRun RunProgram(const std::string& arguments, const std::string& shellPrefix = "",
                      const std::string& stdoutTo = "") {
  test_support::ScratchDir scratch;
  const auto out = scratch.path() / "out", err = scratch.path() / "err";
  const std::string command = shellPrefix + " '" LANGXING_BINARY_DIR "/cli/langxing-cli' " +
                              arguments + " >'" + (stdoutTo.empty() ? out.string() : stdoutTo) +
                              "' 2>'" + err.string() + "'";
  const int raw = std::system(command.c_str());
  ProcessRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  return run;
}

TEST(CliProgram, VersionAndBadOption) {
  const auto version = RunProgram("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "langxing-cli 1.2\n");

  const auto bad = RunProgram("catalog --colour red");
  EXPECT_EQ(bad.status, ExitUsage);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("Usage: langxing-cli"), std::string::npos) << bad.err;
}

TEST(CliProgram, AnOutputThatCannotBeWrittenIsAFailure) {
  for (const char* arguments : {"--version", "--help", "catalog '" LANGXING_SOURCE_DIR "/data'"}) {
    const auto run = RunProgram(arguments, "", "/dev/full");
    EXPECT_EQ(run.status, ExitOutputFailed) << arguments;
    EXPECT_NE(run.err.find("langxing-cli: could not write the output: No space left on device"),
              std::string::npos)
        << arguments << ": " << run.err;
  }
}

TEST(CliProgram, AnUnreachableAddressIsALoadFailure) {
  const langxing::test_support::RawPort refusing;  // bound, never listening
  const std::string url = refusing.Url("/");
  for (const std::string command :
       {"headlines --url", "inner-html", "inner-text", "article", "check-update --url"}) {
    const auto run = RunProgram(command + " " + url, "env -u http_proxy -u HTTP_PROXY");
    EXPECT_EQ(run.status, ExitLoadFailed) << command;
    EXPECT_EQ(run.out, "") << command;
    EXPECT_NE(run.err.find("langxing-cli: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(url + ": Failed to connect to 127.0.0.1"), std::string::npos) << run.err;
  }
}

// The program's own search: the working directory, then the user's data folder.
TEST(CliProgram, TheChannelFileIsFoundInTheDataFolders) {
  test_support::ScratchDir work, data;
  std::filesystem::create_directories(data.path() / "langxing");
  data.Write("langxing/chan.dll", "汽车新闻_新车--http://auto.sina.com.cn/\n");
  const std::string cd = "cd '" + work.path().string() + "' &&";
  const std::string xdg =
      " XDG_DATA_DIRS=/nonexistent XDG_DATA_HOME='" + data.path().string() + "'";

  const auto found = RunProgram("catalog", cd + xdg);
  EXPECT_EQ(found.status, 0) << found.err;
  EXPECT_NE(found.out.find("  汽车新闻\n    新车\n"), std::string::npos) << found.out;

  work.Write("chan.dll", "体育新闻_NBA--http://sports.sina.com.cn/nba/\n");
  const auto local = RunProgram("catalog", cd + xdg);
  EXPECT_NE(local.out.find("    NBA\n"), std::string::npos) << local.out;
  EXPECT_EQ(local.out.find("新车"), std::string::npos) << local.out;

  std::filesystem::remove(work.path() / "chan.dll");
  std::filesystem::remove(data.path() / "langxing/chan.dll");
  const auto missing = RunProgram("headlines NBA", cd + xdg);
  EXPECT_EQ(missing.status, ExitNotFound);
  // Every folder looked in is named.
  for (const auto& folder :
       {work.path(), data.path() / "langxing", std::filesystem::path("/nonexistent/langxing")}) {
    EXPECT_NE(missing.err.find(folder.string()), std::string::npos) << missing.err;
  }
}

TEST(CliProgram, FailurePageAndProxyFromTheEnvironment) {
  testportal::TestPortal portal{std::filesystem::path{}};
  testportal::Page page;
  page.body = "<html><body>nothing to cut</body></html>";
  portal.SetPage("http://news.sina.com.cn/x.shtml", page);
  testportal::ScopedProxy proxy(portal);  // the child inherits http_proxy

  const auto run = RunProgram("article http://news.sina.com.cn/x.shtml");
  EXPECT_EQ(run.status, ExitArticleFailed);
  EXPECT_NE(run.out.find("抱歉，本文获取失败！"), std::string::npos) << run.out;
  EXPECT_EQ(portal.Requests(), std::vector<std::string>{"http://news.sina.com.cn/x.shtml"});
}

}  // namespace
}  // namespace langxing::cli
