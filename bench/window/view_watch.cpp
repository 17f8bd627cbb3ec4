// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/window/view_watch.hpp"

#include <QEvent>
#include <cstdio>

namespace windowbench {

double NowMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer c;
    c.start();
    return c;
  }();
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

bool Waiter::Wait(const std::function<bool()>& done, int timeoutMs, int checkMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QEventLoop* const outerLoop = loop_;
  const std::function<bool()>* const outerDone = done_;
  loop_ = &loop;
  done_ = &done;
  timeout.start(timeoutMs);
  check.start(checkMs);
  loop.exec();
  loop_ = outerLoop;
  done_ = outerDone;
  return done();
}

void Waiter::Poke() {
  if (loop_ != nullptr && (*done_)()) loop_->quit();
}

ViewWatch::ViewWatch(QWebEngineView& view, Waiter& waiter) : view_(view), waiter_(waiter) {
  connect(&view_, &QWebEngineView::loadStarted, this, [this] { HookRenderWidget(); });
  connect(&view_, &QWebEngineView::loadFinished, this, [this](bool ok) {
    // The engine may replace the widget it renders into when the page moves to another
    // renderer, so the hook follows it.
    HookRenderWidget();
    if (ok && isTarget_ && loadFinishedMs < 0 && isTarget_(view_.url())) {
      loadFinishedMs = NowMs();
      waiter_.Poke();
    }
  });
}

void ViewWatch::Expect(std::function<bool(const QUrl&)> isTarget) {
  isTarget_ = std::move(isTarget);
  loadFinishedMs = paintedMs = firstFrameMs = -1;
  HookRenderWidget();
}

bool ViewWatch::WaitForPaint(int timeoutMs) {
  // The engine usually draws once more after the load has finished; when it has drawn the
  // finished page before that (nothing left to change), no frame follows, and the page is
  // complete on screen at the load's end.
  constexpr double settledMs = 2000;
  const auto done = [this] {
    return paintedMs >= 0 || (loadFinishedMs >= 0 && NowMs() - loadFinishedMs > settledMs);
  };
  if (!waiter_.Wait(done, timeoutMs)) {
    std::fprintf(stderr, "the page did not finish loading\n");
    return false;
  }
  if (paintedMs < 0) {
    paintedMs = loadFinishedMs;
    ++paintedBeforeLoadEnd;
  }
  return true;
}

void ViewWatch::HookRenderWidget() {
  QWidget* target = view_.focusProxy();
  if (target == nullptr || target == hooked_) return;
  if (hooked_) hooked_->removeEventFilter(this);
  target->installEventFilter(this);
  hooked_ = target;
}

bool ViewWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == hooked_ && isTarget_) {
    const double now = NowMs();
    if (firstFrameMs < 0) firstFrameMs = now;
    if (loadFinishedMs >= 0 && paintedMs < 0) {
      paintedMs = now;
      waiter_.Poke();
    }
  }
  return false;
}

}  // namespace windowbench
