// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/hang_watch.hpp"

#include <utility>

HangWatch::HangWatch(View view, QObject* parent) : QObject(parent), view_(std::move(view)) {
  writeWatch_.setSingleShot(true);
  writeWatch_.setInterval(kWriteWatchMs);
  connect(&writeWatch_, &QTimer::timeout, this, &HangWatch::Probe);
  answerWatch_.setSingleShot(true);
  answerWatch_.setInterval(kRendererAnswerMs);
  connect(&answerWatch_, &QTimer::timeout, this, &HangWatch::OnAnswerTimeout);
}

void HangWatch::WriteStarted() {
  ++writes_;
  elementsParsed_ = 0;  // any elements of this write are progress over the page shown before
  progressedLastRound_ = false;
  writeWatch_.start();
}

void HangWatch::Stop() {
  writeWatch_.stop();
  answerWatch_.stop();
}

// The renderer has not shown the latest write in time: ask it which page it holds and whether
// that is parsed. An answer that does not come in time means it is hung (OnAnswerTimeout).
void HangWatch::Probe() {
  if (view_.writeShown()) return;
  probed_ = writes_;
  answered_ = false;
  parsed_ = false;
  progressed_ = false;
  onItsWay_ = false;
  const std::uint64_t probe = probed_;
  const bool pendingWhenAsked = view_.writePending();
  // While the parser is at work the answer is how many elements it has made so far.
  view_.ask(QStringLiteral("document.readyState === 'loading' ? "
                           "document.getElementsByTagName('*').length : location.href"),
            [this, probe, pendingWhenAsked](const QVariant& answer) {
              if (probe != probed_) return;
              answered_ = true;
              if (answer.typeId() != QMetaType::QString) {
                const qint64 elements = answer.toLongLong();
                progressed_ = elements > elementsParsed_;
                elementsParsed_ = elements;
                return;
              }
              parsed_ = view_.holdsLatestWrite(QUrl(answer.toString()));
              onItsWay_ = !parsed_ && pendingWhenAsked;
            });
  answerWatch_.start();
}

void HangWatch::OnAnswerTimeout() {
  if (view_.writeShown() || killedFor_ == writes_) return;
  // The renderer holds the written page, parsed: only its pictures are still on their way
  // (a slow picture host). Nothing hangs.
  if (answered_ && parsed_) return;
  // The page shown before answers and the write has not reached a renderer yet (one is
  // being started for it, say): it is on its way, nothing hangs.
  if (answered_ && onItsWay_) {
    writeWatch_.start();
    return;
  }
  // The renderer is still parsing the written page and has got further since the last
  // round (a page of megabytes): it is working, not hung. It gets another round.
  const bool progressedBefore = progressedLastRound_;
  progressedLastRound_ = answered_ && progressed_;
  if (progressedLastRound_) {
    writeWatch_.start();
    return;
  }
  // A renderer last seen getting on with the page may be laying out what it parsed, in one
  // go that takes seconds on a busy machine, and so miss one question. It gets one more
  // round; a renderer that then still does not answer is hung.
  if (!answered_ && progressedBefore) {
    writeWatch_.start();
    return;
  }
  // The renderer answers but the write still does not show: the engine may be busy with
  // the page shown before (its compositing, say). It gets one more round of the watch.
  if (answered_ && stalledFor_ != writes_) {
    stalledFor_ = writes_;
    writeWatch_.start();
    return;
  }
  // The renderer has not answered for seconds while a page waits to be shown, or the write
  // has stayed unshown for two rounds: it is hung (a page that never yields, a stopped
  // process, an engine that produces no frame). Ending it makes way for a new one.
  killedFor_ = writes_;
  view_.endRenderer();
}
