// SPDX-License-Identifier: GPL-3.0-or-later
// The status text that ends a headline run whose page could not be loaded.
#pragma once

#include <string>

#include "core/http.hpp"

namespace langxing {

// "状态：获取失败" with the reason in parentheses where the kind has a short one (无法连接,
// 找不到服务器, 超时, 页面过大); none for a page that was loaded (kNone).
std::u16string FailedFetchStatus(LoadFailure kind);

}  // namespace langxing
