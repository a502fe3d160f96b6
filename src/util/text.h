#pragma once

// Text, error and encoding helpers shared by every area. Pure functions that
// never throw on bad input (only on allocation failure).

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "util/wide.h"

namespace tq {

// UTF-16 <-> UTF-8 at the border of every Windows call. Ill-formed input is
// replaced with U+FFFD, never rejected; empty in, empty out.
std::string to_utf8(WStringView wide);
WString to_wide(std::string_view utf8);

// The system's text for a Win32 error code without trailing line breaks, or
// "Win32 error " + the code in decimal when the system has none.
std::string win32_error_text(std::uint32_t code);

// win32_error_text of the same value followed by " (0xXXXXXXXX)".
std::string hresult_text(std::int32_t hr);

// Local wall-clock time as YYYY-MM-DDTHH:MM:SS, no zone, no fraction.
std::string iso_timestamp_now();
std::string format_iso_timestamp(const std::tm& local);

// The local time now, broken down (platform call).
std::tm local_time_now();

std::string join(const std::vector<std::string>& parts, std::string_view separator);

// Strips space, TAB, LF, VT, FF and CR from both ends.
std::string trim(std::string_view text);

std::string to_hex(std::span<const std::uint8_t> bytes, bool upper_case);

// ASCII-only case mapping; bytes above 0x7F pass unchanged.
std::string to_lower(std::string_view text);
std::string to_upper(std::string_view text);

}  // namespace tq
