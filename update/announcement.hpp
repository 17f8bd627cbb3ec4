// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the update announcement block out of the announcement page's visible text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace langxing {

struct UpdateAnnouncement {
  std::u16string message;      // <newMsg>, trimmed of spaces
  std::u16string beta;         // <beta>, trimmed of spaces
  std::u16string downloadUrl;  // <newdown>, trimmed of spaces
};

enum class UpdateVerdict { UpToDate, Outdated };

inline constexpr std::u16string_view OutdatedMessage =
    u"发现新版本!当前版本已过时\r\n将自动打开下载网页";
inline constexpr std::u16string_view UpToDateNotice = u"目前是最新版";

// None when the text holds no "<new>"; otherwise the three elements read from the block.
std::optional<UpdateAnnouncement> ParseAnnouncement(std::u16string_view innerText);

// Up to date only when beta is exactly the program's version.
UpdateVerdict VerdictOf(const UpdateAnnouncement& announcement);

// The longest address handed to the desktop's browser, in characters (and in bytes once
// encoded): longer ones are no address a page needs, and fail to start a browser anyway.
inline constexpr std::size_t kMaxOpenableAddressLength = 8 * 1024;

// Whether a download address may be handed to the desktop's browser: an absolute http or
// https address with a host and no user information, at most kMaxOpenableAddressLength long,
// and nothing a shell could take as another command.
bool IsOpenableDownloadAddress(std::u16string_view address);

}  // namespace langxing
