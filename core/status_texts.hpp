// SPDX-License-Identifier: GPL-3.0-or-later
// The status texts the window's status panel shows and the companion writes with --verbose, and
// the writer they go to. A run writes them in a fixed order, which the tests record.
#pragma once

#include <functional>
#include <string_view>

namespace langxing {

// Receives each status text of a run, in order.
using StatusWriter = std::function<void(std::u16string_view)>;

// Nothing is under way.
inline constexpr std::u16string_view StatusIdle = u"状态：空闲";

// A channel was clicked: its line is looked up and its headline page requested.
inline constexpr std::u16string_view StatusFetching = u"状态：获取";
// The steps of a fetch: a headline page came, its entries are being cut (the article download
// starts with the second), the entries are listed.
inline constexpr std::u16string_view StatusFetchStepOne = u"状态：获取》";
inline constexpr std::u16string_view StatusFetchStepTwo = u"状态：获取》》";
inline constexpr std::u16string_view StatusFetched = u"状态：获取完成";
// A headline page that never came; FailedFetchStatus adds the reason in parentheses.
inline constexpr std::u16string_view StatusFetchFailed = u"状态：获取失败";

// The article is cut out and restyled.
inline constexpr std::u16string_view StatusProcessing = u"状态：正在处理";
inline constexpr std::u16string_view StatusProcessed = u"状态：处理完毕";

// The update announcement is being read.
inline constexpr std::u16string_view StatusCheckingVersion = u"状态：检查版本。。。";

}  // namespace langxing
