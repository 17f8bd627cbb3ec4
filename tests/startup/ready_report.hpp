// SPDX-License-Identifier: GPL-3.0-or-later
// What a start-up probe prints once its window is ready: the time since the process began and
// the memory it holds then. Shared by the program's probe and the floor window.
#pragma once

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <ctime>

namespace startup {

// Milliseconds on the boot clock, the clock /proc/<pid>/stat counts process start times on.
inline double BootClockMs() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// When the kernel started this process (before the dynamic loader ran), in boot-clock ms.
// The kernel keeps it in clock ticks, so it is exact to 1/sysconf(_SC_CLK_TCK) s (10 ms).
inline double ProcessStartMs() {
  QFile stat(QStringLiteral("/proc/self/stat"));
  if (!stat.open(QIODevice::ReadOnly)) return -1;
  const QByteArray line = stat.readAll();
  // Fields after the command name, which is in parentheses and may hold blanks.
  const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
  // starttime is field 22 of the line, the 20th after the name.
  if (fields.size() < 20) return -1;
  return fields[19].toDouble() * 1000.0 / sysconf(_SC_CLK_TCK);
}

// A line of /proc/<pid>/status or smaps_rollup such as "VmRSS:   12345 kB", in KiB.
inline long KibOf(const QString& path, const QByteArray& key) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : file.readAll().split('\n')) {
    if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').first().toLong();
  }
  return -1;
}

// The sum of one smaps_rollup field (such as "Pss:") over this process and every process it
// started (the web engine's helpers). Children are listed per thread, and the engine starts its
// helpers from a thread of its own, so every thread's list is read.
inline long TreeKib(pid_t root, const QByteArray& key) {
  long total = 0;
  const long own = KibOf(QStringLiteral("/proc/%1/smaps_rollup").arg(root), key);
  if (own > 0) total += own;
  const QDir tasks(QStringLiteral("/proc/%1/task").arg(root));
  for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile children(tasks.filePath(task + QStringLiteral("/children")));
    if (!children.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& pid : children.readAll().split(' ')) {
      if (!pid.trimmed().isEmpty()) total += TreeKib(pid.trimmed().toInt(), key);
    }
  }
  return total;
}

// The proportional set size of the process tree, so shared pages count once in the sum. Pages
// shared with processes outside the tree (other programs using the same libraries) count in
// part, so the figure also moves with what else runs.
inline long TreePssKib(pid_t root) { return TreeKib(root, "Pss:"); }

// The pages of the tree that no process outside it maps: its own memory, whatever else runs.
inline long TreePrivateKib(pid_t root) {
  return TreeKib(root, "Private_Clean:") + TreeKib(root, "Private_Dirty:");
}

// How many processes this one has started, directly or not.
inline int DescendantCount(pid_t root) {
  int count = 0;
  const QDir tasks(QStringLiteral("/proc/%1/task").arg(root));
  for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile children(tasks.filePath(task + QStringLiteral("/children")));
    if (!children.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& pid : children.readAll().split(' ')) {
      if (!pid.trimmed().isEmpty()) count += 1 + DescendantCount(pid.trimmed().toInt());
    }
  }
  return count;
}

// Prints one line the runner parses, e.g.
//   ready ms=812.0 main_ms=655.3 rss_kib=154320 tree_pss_kib=301234 helpers=3
// `mainStartMs` is the boot-clock time taken at the top of main.
inline void PrintReady(double mainStartMs) {
  const double now = BootClockMs();
  const double start = ProcessStartMs();
  const long rss = KibOf(QStringLiteral("/proc/self/status"), "VmRSS:");
  std::printf("ready ms=%.1f main_ms=%.1f rss_kib=%ld tree_pss_kib=%ld helpers=%d\n",
              start < 0 ? -1.0 : now - start, now - mainStartMs, rss, TreePssKib(getpid()),
              DescendantCount(getpid()));
  std::fflush(stdout);
}

// Prints the ready line and quits the application (status 0) once `view` has finished loading
// and `window` is exposed; quits with status 1 if the page fails to load.
inline void QuitWhenReady(QApplication& app, QWidget& window, QWebEngineView& view,
                          double mainStartMs) {
  auto* poll = new QTimer(&app);
  poll->setInterval(1);
  QObject::connect(poll, &QTimer::timeout, &app, [&app, &window, poll, mainStartMs] {
    if (!window.windowHandle() || !window.windowHandle()->isExposed()) return;
    poll->stop();
    PrintReady(mainStartMs);
    app.exit(0);
  });
  QObject::connect(&view, &QWebEngineView::loadFinished, &app, [&app, poll](bool ok) {
    if (!ok) {
      std::fprintf(stderr, "the blank page did not load\n");
      app.exit(1);
      return;
    }
    poll->start();
  });
}

}  // namespace startup
