// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line: answers that need no display, and Qt's own options left
// for Qt.
#include "app/command_line.hpp"

#include <gtest/gtest.h>

#include <QProcess>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Answer {
  std::optional<int> status;
  std::string out, err;
};

Answer Ask(std::vector<const char*> args) {
  args.insert(args.begin(), "langxing");
  std::ostringstream out, err;
  const std::optional<int> status =
      AnswerCommandLine(static_cast<int>(args.size()), args.data(), out, err);
  return {status, out.str(), err.str()};
}

TEST(CommandLine, OwnOptionsAnswerAndQtOptionsPassOn) {
  const struct Case {
    std::vector<const char*> args;
    std::optional<int> status;
  } cases[] = {
      {{}, std::nullopt},
      {{"-platform", "offscreen"}, std::nullopt},
      {{"--platform", "xcb", "-reverse"}, std::nullopt},
      {{"-style=Fusion", "-qwindowgeometry", "800x600"}, std::nullopt},
      {{"--webEngineArgs", "--remote-debugging-port=9222"}, std::nullopt},
      // A value that looks like an option belongs to the option before it.
      {{"-stylesheet", "--version"}, std::nullopt},
      {{"--version"}, 0},
      {{"-platform", "offscreen", "--help"}, 0},
      {{"-h"}, 0},
      {{"--bogus"}, UsageErrorExit},
      {{"-x"}, UsageErrorExit},
      {{"chan.dll"}, UsageErrorExit},
      {{"--version=2"}, UsageErrorExit},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const char* arg : c.args) line += std::string(arg) + " ";
    SCOPED_TRACE(line);
    const Answer answer = Ask(c.args);
    EXPECT_EQ(answer.status, c.status);
    if (c.status == UsageErrorExit) {
      EXPECT_TRUE(answer.out.empty());
      EXPECT_NE(answer.err.find("usage: langxing"), std::string::npos);
    }
  }
}

// The real program, with no display of any kind to open.
TEST(CommandLine, TheProgramAnswersWithoutADisplay) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(QString::fromLatin1(name));
  const struct Case {
    const char* arg;
    int status;
    const char* out;  // what stdout starts with
    const char* err;
  } cases[] = {
      {"--version", 0, "langxing 1.2\n", ""},
      {"--help", 0, "usage: langxing", ""},
      {"--nonsense", UsageErrorExit, "", "langxing: unknown argument --nonsense\nusage:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(LANGXING_PROGRAM), {QString::fromLatin1(c.arg)});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.status);
    const std::string out = program.readAllStandardOutput().toStdString();
    const std::string err = program.readAllStandardError().toStdString();
    EXPECT_EQ(out.rfind(c.out, 0), 0u) << out;
    EXPECT_EQ(err.rfind(c.err, 0), 0u) << err;
    if (*c.err == '\0') {
      EXPECT_TRUE(err.empty()) << err;
    }
  }
}

}  // namespace
