// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/load_failure_status.hpp"

#include <string_view>

#include "core/status_texts.hpp"

namespace langxing {

namespace {

std::u16string_view ReasonOf(LoadFailure kind) {
  switch (kind) {
    case LoadFailure::kCannotConnect:
      return u"无法连接";
    case LoadFailure::kHostNotFound:
      return u"找不到服务器";
    case LoadFailure::kTimedOut:
      return u"超时";
    case LoadFailure::kTooLarge:
      return u"页面过大";
    case LoadFailure::kNone:
    case LoadFailure::kCancelled:
    case LoadFailure::kOther:
      break;
  }
  return {};
}

}  // namespace

std::u16string FailedFetchStatus(LoadFailure kind) {
  if (kind == LoadFailure::kNone) return {};
  std::u16string status(StatusFetchFailed);
  const std::u16string_view reason = ReasonOf(kind);
  if (!reason.empty()) status.append(u"（").append(reason).append(u"）");
  return status;
}

}  // namespace langxing
