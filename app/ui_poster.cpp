// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui_poster.hpp"

#include <QMetaObject>
#include <QObject>
#include <memory>
#include <mutex>

namespace {

// The context's liveness, shared by every copy of one poster. The context's destroyed
// signal clears it under the lock, so a post that holds the lock posts to a live object.
struct PostTarget {
  std::mutex mutex;
  QObject* context = nullptr;
};

}  // namespace

langxing::UiPoster MakeUiPoster(QObject* context) {
  auto target = std::make_shared<PostTarget>();
  target->context = context;
  if (context) {
    QObject::connect(context, &QObject::destroyed, [target] {
      const std::lock_guard lock(target->mutex);
      target->context = nullptr;
    });
  }
  return [target](std::function<void()> task) {
    if (!task) return;
    const std::lock_guard lock(target->mutex);
    if (!target->context) return;
    // Qt discards events still queued for an object when it is destroyed, so a task that
    // was posted in time but not yet run is dropped as well.
    QMetaObject::invokeMethod(target->context, std::move(task), Qt::QueuedConnection);
  };
}
