// SPDX-License-Identifier: GPL-3.0-or-later
// Timing a web view from the Qt side, without scripts in the page: when a load finishes, and
// when the view next shows a frame the engine has drawn (a paint of the widget the engine
// renders into). Also bounded waits that turn the event loop without polling.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <functional>

namespace windowbench {

// Milliseconds on one monotonic clock for the whole run.
double NowMs();

// Runs the event loop until `done` holds (checked after every event-driven Poke and every
// `checkMs`) or `timeoutMs` passes; true when it holds.
class Waiter {
 public:
  bool Wait(const std::function<bool()>& done, int timeoutMs, int checkMs = 50);
  // Ends a running Wait early when its condition now holds; called from signal handlers.
  void Poke();

 private:
  QEventLoop* loop_ = nullptr;
  const std::function<bool()>* done_ = nullptr;
};

// Watches one view: the time of the latest successful load of the address the caller expects,
// and of the first frame painted after it.
class ViewWatch final : public QObject {
 public:
  // `isTarget` tells whether a finished load is the one awaited (given the view's address).
  ViewWatch(QWebEngineView& view, Waiter& waiter);

  // Forgets the previous load; `isTarget` names the load to wait for.
  void Expect(std::function<bool(const QUrl&)> isTarget);
  // Waits until the awaited load has finished and a frame has been painted after it (or, when
  // none follows within two seconds, takes the load's end as the time the page was complete).
  bool WaitForPaint(int timeoutMs);

  double loadFinishedMs = -1;    // the awaited load finished
  double paintedMs = -1;         // first frame painted after that
  double firstFrameMs = -1;      // first frame painted after Expect (may show the page part-drawn)
  int paintedBeforeLoadEnd = 0;  // waits in which no frame followed the load's end

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void HookRenderWidget();

  QWebEngineView& view_;
  Waiter& waiter_;
  std::function<bool(const QUrl&)> isTarget_;
  QPointer<QWidget> hooked_;
};

}  // namespace windowbench
