// SPDX-License-Identifier: GPL-3.0-or-later
// The program keeps nothing but the reader's settings file: a session run in an empty home,
// from a folder holding only chan.dll, leaves both exactly as they were, but for
// ~/.config/langxing/langxing.conf once the reader has changed something (opened a channel). Both
// the real program and a copy of it that plays a channel, an article (with a picture over https)
// and the update check run as child processes against the local portal, with every per-user folder
// (home, config, cache, data, state) inside an empty temporary home; each offscreen and on a GL
// display of its own (xvfb-run). The runtime folder Qt asks for lies outside that home, as on a
// desktop.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <algorithm>
#include <csignal>
#include <iostream>
#include <map>
#include <string>

#include "core/portal.hpp"
#include "core/text.hpp"
#include "tests/portal/test_portal.hpp"
#include "tests/webview/served_pages.hpp"

namespace {

const char kChannelFile[] = "新闻中心_国内新闻--http://news.sina.com.cn/china/index_list.shtml\r\n";
const char kArticleUrl[] = "http://news.sina.com.cn/c/2010-05-01/083020191234.shtml";

// Every entry below `root` (folders too), by relative path, with a digest of each file.
using Entries = std::map<std::string, std::string>;

Entries Snapshot(const QString& root) {
  Entries entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info = it.fileInfo();
    QByteArray digest = QByteArrayLiteral("folder");
    if (!info.isDir()) {
      QFile file(path);
      digest = file.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                   : QByteArrayLiteral("unreadable");
    }
    entries.emplace(path.mid(root.size()).toStdString(), digest.toStdString());
  }
  return entries;
}

std::string Listing(const Entries& entries) {
  std::string text;
  for (const auto& [path, digest] : entries) text += path + "\n";
  return text.empty() ? "(nothing)\n" : text;
}

// The pid of the process below `parent` (a child of a child included) that runs `program`;
// 0 when there is none.
pid_t DescendantRunning(pid_t parent, const QString& program) {
  QStringList pending{QString::number(parent)};
  while (!pending.isEmpty()) {
    const QString pid = pending.takeFirst();
    QDirIterator tasks(QStringLiteral("/proc/%1/task").arg(pid), QDir::Dirs | QDir::NoDotAndDotDot);
    while (tasks.hasNext()) {
      QFile children(tasks.next() + QStringLiteral("/children"));
      if (!children.open(QIODevice::ReadOnly)) continue;
      for (const QByteArray& child : children.readAll().split(' ')) {
        if (child.trimmed().isEmpty()) continue;
        const QString childPid = QString::fromLatin1(child.trimmed());
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(childPid)) ==
            QFileInfo(program).canonicalFilePath())
          return static_cast<pid_t>(childPid.toInt());
        pending << childPid;
      }
    }
  }
  return 0;
}

struct Display {
  const char* name;
  bool xvfb;  // a GL display of its own, through xvfb-run; otherwise Qt's offscreen platform
};

class NoFilesWrittenTest : public testing::TestWithParam<Display> {
 protected:
  NoFilesWrittenTest() {
    home = root.filePath(QStringLiteral("home"));
    work = root.filePath(QStringLiteral("work"));
    runtime = root.filePath(QStringLiteral("runtime"));
    temp = root.filePath(QStringLiteral("tmp"));
    for (const QString& dir : {home, work, runtime, temp}) QDir().mkpath(dir);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile channels(work + QStringLiteral("/chan.dll"));
    if (channels.open(QIODevice::WriteOnly)) channels.write(kChannelFile);
    channels.close();
    homeBefore = Snapshot(home);
    workBefore = Snapshot(work);
  }

  // The article gets a picture over https (self-signed, so the engine checks and refuses it):
  // the first https connection is when the engine opens its certificate store.
  void AddSecurePicture() {
    ASSERT_TRUE(WriteSelfSignedCertificate(root.path()));
    secure = std::make_unique<LoopbackServer>(SelfSignedCertificateFiles(root.path()));
    secure->Start();
    secure->Serve("/secure.png", PngImage(10, 10), "image/png");
    std::optional<langxing::testportal::Page> article = portal.PageFor(kArticleUrl);
    ASSERT_TRUE(article.has_value());
    const std::string marker = langxing::testportal::ToGbk("<!-- 内容列 begin -->");
    const std::size_t at = article->body.find(marker);
    ASSERT_NE(at, std::string::npos);
    article->body.insert(at + marker.size(), "<img src=\"" + secure->Url("/secure.png") + "\">");
    portal.SetPage(kArticleUrl, *article);
  }

  void Start(QProcess& child, const QString& program) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("TMPDIR"), temp);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       GetParam().xvfb ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    const QString proxy = QString::fromStdString(portal.ProxyUrl());
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
      environment.insert(QString::fromLatin1(name), proxy);
    environment.remove(QStringLiteral("no_proxy"));
    environment.remove(QStringLiteral("NO_PROXY"));
    // In the sanitised build: the web engine's own sized deletes are not ours to report.
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan + (asan.isEmpty() ? "" : ":") + "new_delete_type_mismatch=0");
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(work);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    if (!GetParam().xvfb) {
      child.start(program, {});
      return;
    }
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    ASSERT_FALSE(xvfbRun.isEmpty()) << "xvfb-run (Debian package xvfb) is needed";
    // No leak check on the X display (see tests/app/screen/on_x_display.sh); the offscreen run
    // of the same session checks it.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + ":detect_leaks=0");
    child.setProcessEnvironment(environment);
    child.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"),
                          QStringLiteral("-screen 0 1280x1024x24"), program});
  }

  // Asks the program to end as a desktop session would; under xvfb-run, the program itself.
  void Terminate(QProcess& child, const QString& program) {
    const pid_t target = GetParam().xvfb
                             ? DescendantRunning(static_cast<pid_t>(child.processId()), program)
                             : static_cast<pid_t>(child.processId());
    if (target > 0) ::kill(target, SIGTERM);
    if (!child.waitForFinished(10000)) {
      child.kill();
      child.waitForFinished(10000);
    }
  }

  bool Requested(const std::string& url) const {
    const std::vector<std::string> requests = portal.Requests();
    return std::find(requests.begin(), requests.end(), url) != requests.end();
  }

  // `settingsKept`: whether the session changed something the window keeps, so that the
  // settings file (and the folders it lies in) must be there; nothing else may be.
  void ExpectOnlyTheSettingsWritten(bool settingsKept) {
    Entries after = Snapshot(home);
    const std::string settingsFile = "/.config/langxing/langxing.conf";
    EXPECT_EQ(after.count(settingsFile) == 1, settingsKept) << Listing(after);
    if (settingsKept) {
      QFile settings(home + QString::fromStdString(settingsFile));
      EXPECT_TRUE(settings.open(QIODevice::ReadOnly) && settings.readAll().contains("channel="));
    }
    for (const char* kept : {"/.config", "/.config/langxing", "/.config/langxing/langxing.conf"})
      if (homeBefore.count(kept) == 0) after.erase(kept);
    EXPECT_TRUE(after == homeBefore) << "home now holds:\n" << Listing(Snapshot(home));
    EXPECT_TRUE(Snapshot(work) == workBefore) << "the working folder now holds:\n"
                                              << Listing(Snapshot(work));
    // Temporary files count as writes too, when they are left behind.
    EXPECT_TRUE(Snapshot(temp).empty()) << Listing(Snapshot(temp));
    // Qt's runtime folder lies outside the home and may hold sockets; shown, not judged.
    std::cout << "runtime folder after the run: " << Listing(Snapshot(runtime));
  }

  QTemporaryDir root;
  QString home, work, runtime, temp;
  Entries homeBefore, workBefore;
  langxing::testportal::TestPortal portal;
  std::unique_ptr<LoopbackServer> secure;
};

TEST_P(NoFilesWrittenTest, SessionWithAChannelAnArticleAndTheUpdateCheck) {
  ASSERT_TRUE(root.isValid());
  AddSecurePicture();
  QProcess child;
  Start(child, QStringLiteral(LANGXING_DISK_SESSION));
  ASSERT_TRUE(child.waitForStarted(10000));
  ASSERT_TRUE(child.waitForFinished(120000));
  const std::string output = child.readAllStandardOutput().toStdString();
  ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(child.exitCode(), 0) << output << child.readAllStandardError().toStdString();
  if (langxing::UpdateCheckEnabled) {
    EXPECT_NE(output.find("update check done"), std::string::npos) << output;
  }
  // The session went through the portal: the listing, the article and the announcement.
  EXPECT_TRUE(Requested("http://news.sina.com.cn/china/index_list.shtml"));
  EXPECT_TRUE(Requested(kArticleUrl));
  if (langxing::UpdateCheckEnabled) {
    EXPECT_TRUE(Requested(langxing::Utf16ToUtf8(langxing::UpdatePageUrl)));
  }
  EXPECT_GT(secure->Handshakes(), 0) << "the article's https picture was not asked for";
  ExpectOnlyTheSettingsWritten(true);
}

TEST_P(NoFilesWrittenTest, TheProgramItselfRunningForAWhile) {
  ASSERT_TRUE(root.isValid());
  QProcess child;
  Start(child, QStringLiteral(LANGXING_PROGRAM));
  ASSERT_TRUE(child.waitForStarted(10000));
  // Start-up, the blank article page and, three seconds in, the update check.
  const std::string updatePage = langxing::Utf16ToUtf8(langxing::UpdatePageUrl);
  const bool checked = QTest::qWaitFor([&] { return Requested(updatePage); }, 30000);
  QTest::qWait(2000);
  const bool stillRunning = child.state() == QProcess::Running;
  Terminate(child, QStringLiteral(LANGXING_PROGRAM));
  // Let any process the program started go away before the folders are read.
  QTest::qWait(500);
  EXPECT_TRUE(checked || !langxing::UpdateCheckEnabled);
  EXPECT_TRUE(stillRunning) << child.readAllStandardError().toStdString();
  // Nothing was changed: nothing is written.
  ExpectOnlyTheSettingsWritten(false);
}

INSTANTIATE_TEST_SUITE_P(Displays, NoFilesWrittenTest,
                         testing::Values(Display{"offscreen", false}, Display{"xvfb", true}),
                         [](const testing::TestParamInfo<Display>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
