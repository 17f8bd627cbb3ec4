// SPDX-License-Identifier: GPL-3.0-or-later
// The article view keeps everything in memory: a session leaves nothing in the user's home,
// data, cache, config or state folders.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include "local_server.hpp"
#include "view_harness.hpp"

namespace {

constexpr char kProbeVariable[] = "LANGXING_WEBVIEW_DISK_PROBE";

// Run in a child process whose home and XDG folders are empty temporary folders: a session
// with cookies, local storage, cached images, a written page and a navigated page.
void RunBrowsingSession() {
  LocalServer server;
  server.Serve("/pic.png", PngImage(20, 20), "image/png");
  server.Serve("/page.html",
               "<html><body><img src='pic.png'><script>document.cookie='a=1; max-age=99999';"
               "localStorage.setItem('k','v');</script>page</body></html>",
               "text/html");
  ArticleView view;
  view.show();
  view.SetSilent(true);
  ASSERT_TRUE(NavigateAndWait(view, server.Url("/page.html")));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return RunScript(view, QStringLiteral("document.images[0].naturalWidth")).toInt() == 20;
      },
      kWaitMs));
  ASSERT_TRUE(WriteAndWait(view, QStringLiteral("<body><img src='pic.png'>written</body>"),
                           server.Url("/article.html")));
  QTest::qWait(500);
}

TEST(ArticleViewStorage, ASessionWritesNothingUnderHome) {
  if (qEnvironmentVariableIsSet(kProbeVariable)) {
    RunBrowsingSession();
    return;
  }
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString home = root.filePath(QStringLiteral("home"));
  ASSERT_TRUE(QDir().mkpath(home));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kProbeVariable, QStringLiteral("1"));
  environment.insert(QStringLiteral("HOME"), home);
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
  environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
  environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));

  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=ArticleViewStorage.ASessionWritesNothingUnderHome")});
  ASSERT_TRUE(child.waitForFinished(90000));
  const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
  ASSERT_EQ(child.exitCode(), 0) << output.toStdString();
  ASSERT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();

  QStringList written;
  QDirIterator it(home, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) written << it.next().mid(home.size());
  EXPECT_TRUE(written.isEmpty()) << written.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
