// SPDX-License-Identifier: GPL-3.0-or-later
// The article view's watch over its renderer: a write that stays unshown for too long gets the
// renderer asked whether it still answers, and a renderer that does not answer in time, or
// answers but leaves the write unshown through a second round, is ended.
#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <cstdint>
#include <functional>

class HangWatch final : public QObject {
 public:
  // How long a write may go unshown before the renderer is asked whether it still answers,
  // and how long it then has to answer before it counts as hung.
  static constexpr int kWriteWatchMs = 1500;
  static constexpr int kRendererAnswerMs = 2500;

  // What the watch needs of the view.
  struct View {
    std::function<bool()> writeShown;    // the latest write has finished loading
    std::function<bool()> writePending;  // the latest write has not reached the view's address
    // The renderer's answer to `script` goes to the callback (never, when it is hung).
    std::function<void(const QString& script, std::function<void(const QVariant&)>)> ask;
    std::function<bool(const QUrl&)> holdsLatestWrite;  // `shown` is the latest write
    std::function<void()> endRenderer;                  // ends the renderer process
  };

  HangWatch(View view, QObject* parent);

  // A page was written: the watch starts for it.
  void WriteStarted();
  // The view navigates elsewhere: no write waits any more.
  void StopWriteWatch() { writeWatch_.stop(); }
  // The write showed, or the renderer is gone: nothing is watched.
  void Stop();
  // How many writes there were so far; the latest write's number.
  std::uint64_t Writes() const { return writes_; }

 private:
  void Probe();
  void OnAnswerTimeout();

  View view_;
  QTimer writeWatch_;
  QTimer answerWatch_;
  // The writes so far, the write the renderer was last probed for and whether it answered,
  // and the write a hung renderer was ended for (once each).
  std::uint64_t writes_ = 0;
  std::uint64_t probed_ = 0;
  bool answered_ = false;
  bool parsed_ = false;    // the answer: the latest write is parsed, its pictures may still load
  bool onItsWay_ = false;  // the answer came from the page before, the write not yet committed
  std::uint64_t stalledFor_ = 0;  // the write the renderer answered for but did not show
  // How many elements the parser had made of the latest write at the last probe; whether the
  // latest probe found it further on, and whether the round before the latest one did.
  qint64 elementsParsed_ = 0;
  bool progressed_ = false;
  bool progressedLastRound_ = false;
  std::uint64_t killedFor_ = 0;
};
