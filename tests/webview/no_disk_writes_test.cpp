// SPDX-License-Identifier: GPL-3.0-or-later
// The article view keeps everything in memory: a session leaves nothing in the user's home,
// data, cache, config or state folders -- offscreen, on a GL display (Xvfb), and with a
// picture fetched over https.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/user_home.hpp"
#include "tests/webview/served_pages.hpp"
#include "view_harness.hpp"

namespace {

constexpr char kProbeVariable[] = "LANGXING_WEBVIEW_DISK_PROBE";
constexpr char kCertificateFolderVariable[] = "LANGXING_WEBVIEW_CERTIFICATES";
constexpr char kTestName[] = "ArticleViewStorage.ASessionWritesNothingUnderHome";

// Run in a child process whose home and XDG folders are empty temporary folders: a session
// with a cookie, local storage, cached images, a picture over https (which starts the engine's
// certificate store), a written page and a navigated page.
void RunBrowsingSession() {
  KeepCertificateStoreOutOfHome();  // as the program does once its window is loaded
  const QString certificates = qEnvironmentVariable(kCertificateFolderVariable);
  LoopbackServer server;
  LoopbackServer secure(SelfSignedCertificateFiles(certificates));
  server.Start();
  secure.Start();
  server.Serve("/pic.png", PngImage(20, 20), "image/png");
  secure.Serve("/secure.png", PngImage(10, 10), "image/png");
  server.Serve("/page.html", "<html><body><img src='pic.png'>page</body></html>", "text/html");
  ArticleView view;
  view.show();
  view.SetSilent(true);
  ASSERT_TRUE(NavigateAndWait(view, PageUrl(server, "/page.html")));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return RunScript(view, QStringLiteral("document.images[0].naturalWidth")).toInt() == 20;
      },
      kWaitMs));
  RunScript(view, QStringLiteral("document.cookie = 'a=1; max-age=99999';"
                                 "try { localStorage.setItem('k', 'v'); } catch (e) {}"));
  ASSERT_TRUE(WriteAndWait(view,
                           QStringLiteral("<body><img src='pic.png'><img src='%1'>written</body>")
                               .arg(PageUrl(secure, "/secure.png")),
                           PageUrl(server, "/article.html")));
  // The certificate is self-signed and refused, but only after the engine has checked it.
  EXPECT_TRUE(QTest::qWaitFor([&] { return secure.Handshakes() > 0; }, kWaitMs));
  QTest::qWait(1000);
}

struct Display {
  const char* name;
  bool xvfb;  // a GL display of its own, through xvfb-run; otherwise Qt's offscreen platform
};

class ArticleViewStorage : public testing::TestWithParam<Display> {};

TEST_P(ArticleViewStorage, ASessionWritesNothingUnderHome) {
  if (qEnvironmentVariableIsSet(kProbeVariable)) {
    RunBrowsingSession();
    return;
  }
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QString home = root.filePath(QStringLiteral("home"));
  ASSERT_TRUE(QDir().mkpath(home));
  ASSERT_TRUE(WriteSelfSignedCertificate(root.path()));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kProbeVariable, QStringLiteral("1"));
  environment.insert(kCertificateFolderVariable, root.path());
  environment.insert(QStringLiteral("HOME"), home);
  environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
  environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
  environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));

  const QString filter = QStringLiteral("--gtest_filter=*") + QLatin1String(kTestName) +
                         QLatin1Char('/') + QLatin1String(GetParam().name);
  QString program = QCoreApplication::applicationFilePath();
  QStringList arguments{filter};
  if (GetParam().xvfb) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    ASSERT_FALSE(xvfbRun.isEmpty()) << "xvfb-run (Debian package xvfb) is needed";
    arguments = QStringList{QStringLiteral("-a"), QStringLiteral("-s"),
                            QStringLiteral("-screen 0 1280x1024x24"), program} +
                arguments;
    program = xvfbRun;
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // No leak check on the X display (see tests/app/screen/on_x_display.sh); the offscreen run
    // of the same session checks it.
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan + (asan.isEmpty() ? "" : ":") + "detect_leaks=0");
  }

  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(program, arguments);
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

INSTANTIATE_TEST_SUITE_P(Displays, ArticleViewStorage,
                         testing::Values(Display{"offscreen", false}, Display{"xvfb", true}),
                         [](const testing::TestParamInfo<Display>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
