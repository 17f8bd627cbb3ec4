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

// Runs langxing-cli with `arguments` (already shell-quoted) and collects both streams.
ProcessRun RunProgram(const std::string& arguments) {
  testing::ScratchDir scratch;
  const auto out = scratch.path() / "out", err = scratch.path() / "err";
  const std::string command = "'" LANGXING_BINARY_DIR "/cli/langxing-cli' " + arguments + " >'" +
                              out.string() + "' 2>'" + err.string() + "'";
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
  EXPECT_EQ(version.out, "1.2\n");

  const auto bad = RunProgram("catalog --colour red");
  EXPECT_EQ(bad.status, ExitUsage);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("Usage: langxing-cli catalog"), std::string::npos) << bad.err;
}

TEST(CliProgram, FailurePageAndProxyFromTheEnvironment) {
  testportal::TestPortal portal{std::filesystem::path{}};
  testportal::Page page;
  page.body = "<html><body>nothing to cut</body></html>";
  portal.SetPage("http://news.sina.com.cn/x.shtml", page);
  testportal::ScopedProxy proxy(portal);  // the child inherits http_proxy

  const auto run = RunProgram("article http://news.sina.com.cn/x.shtml");
  EXPECT_EQ(run.status, ExitArticleFailed);
  EXPECT_EQ(run.out.rfind("抱歉，本文获取失败！", 0), 0u) << run.out;
  EXPECT_EQ(portal.Requests(), std::vector<std::string>{"http://news.sina.com.cn/x.shtml"});
}

}  // namespace
}  // namespace langxing::cli
