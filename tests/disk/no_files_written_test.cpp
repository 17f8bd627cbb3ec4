// SPDX-License-Identifier: GPL-3.0-or-later
// The program keeps no state: a session run in an empty home, from a folder holding only
// chan.dll, leaves both exactly as they were. Both the real program and a copy of it that
// plays a channel, an article and the update check run as child processes against the local
// portal, with every per-user folder (home, config, cache, data, state) inside an empty
// temporary home. The runtime folder Qt asks for lies outside that home, as on a desktop.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <algorithm>
#include <iostream>
#include <map>
#include <string>

#include "core/portal.hpp"
#include "core/text.hpp"
#include "tests/portal/test_portal.hpp"

namespace {

const char kChannelFile[] = "新闻中心_国内新闻--http://news.sina.com.cn/china/index_list.shtml\r\n";

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

class NoFilesWrittenTest : public testing::Test {
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

  void Start(QProcess& child, const QString& program) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("TMPDIR"), temp);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
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
    child.start(program, {});
  }

  bool Requested(const std::string& url) const {
    const std::vector<std::string> requests = portal.Requests();
    return std::find(requests.begin(), requests.end(), url) != requests.end();
  }

  void ExpectNothingWritten() {
    EXPECT_TRUE(Snapshot(home) == homeBefore) << "home now holds:\n" << Listing(Snapshot(home));
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
};

TEST_F(NoFilesWrittenTest, SessionWithAChannelAnArticleAndTheUpdateCheck) {
  ASSERT_TRUE(root.isValid());
  QProcess child;
  Start(child, QStringLiteral(LANGXING_DISK_SESSION));
  ASSERT_TRUE(child.waitForStarted(10000));
  ASSERT_TRUE(child.waitForFinished(120000));
  const std::string output = child.readAllStandardOutput().toStdString();
  ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
  ASSERT_EQ(child.exitCode(), 0) << output << child.readAllStandardError().toStdString();
  EXPECT_NE(output.find("update check done"), std::string::npos) << output;
  // The session went through the portal: the listing, the article and the announcement.
  EXPECT_TRUE(Requested("http://news.sina.com.cn/china/index_list.shtml"));
  EXPECT_TRUE(Requested("http://news.sina.com.cn/c/2010-05-01/083020191234.shtml"));
  EXPECT_TRUE(Requested(langxing::Utf16ToUtf8(langxing::UpdatePageUrl)));
  ExpectNothingWritten();
}

TEST_F(NoFilesWrittenTest, TheProgramItselfRunningForAWhile) {
  ASSERT_TRUE(root.isValid());
  QProcess child;
  Start(child, QStringLiteral(LANGXING_PROGRAM));
  ASSERT_TRUE(child.waitForStarted(10000));
  // Start-up, the blank article page and, three seconds in, the update check.
  const std::string updatePage = langxing::Utf16ToUtf8(langxing::UpdatePageUrl);
  const bool checked = QTest::qWaitFor([&] { return Requested(updatePage); }, 30000);
  QTest::qWait(2000);
  const bool stillRunning = child.state() == QProcess::Running;
  child.terminate();
  if (!child.waitForFinished(10000)) {
    child.kill();
    child.waitForFinished(10000);
  }
  // Let any process the program started go away before the folders are read.
  QTest::qWait(500);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(stillRunning) << child.readAllStandardError().toStdString();
  ExpectNothingWritten();
}

}  // namespace
