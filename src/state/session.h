#pragma once

// The signed-in session: its five values, the plaintext form kept inside
// auth.dat, and the reading of its expiry time.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

struct Session {
    std::string access_token;
    std::string refresh_token;
    std::string user_id;
    std::string email;
    std::string expires_at;
};

bool operator==(const Session& a, const Session& b);

// Compact JSON with the keys in sorted order and raw UTF-8.
std::string session_to_plaintext(const Session& session);

// Nothing for text that is not a JSON object; a member that is missing or
// not a string reads as empty.
std::optional<Session> session_from_plaintext(std::string_view text);

// Seconds since 1970 of an expiry in the form YYYY-MM-DDTHH:MM:SS read as
// UTC; characters after the seconds are ignored. Nothing when the text does
// not have that form.
std::optional<std::int64_t> parse_expiry(std::string_view text);

// Whether a token with this expiry must be refreshed at `now`: from 60
// seconds before the expiry on. An empty or unreadable expiry, or one at
// the very start of 1970, never expires.
bool token_expired(std::string_view expires_at, std::int64_t now);

// A refresh answer's numeric expiry as the stored text; nothing when the
// number is no date the platform can break down (negative, or beyond the
// year 3000, as a value in milliseconds is).
std::optional<std::string> format_expiry(double seconds);
std::optional<std::string> format_expiry(std::int64_t seconds);

// Broken-down UTC to seconds since 1970, and seconds to "YYYY-MM-DDTHH:MM:SS"
// ("" when the platform cannot break the value down).
std::int64_t utc_to_seconds(int year, int month, int day, int hour, int minute, int second);
std::string seconds_to_utc_text(std::int64_t seconds);

// Platform: the two conversions between std::tm in UTC and seconds.
std::int64_t utc_tm_to_seconds(std::tm& broken);
bool seconds_to_utc_tm(std::int64_t seconds, std::tm& broken);

// Platform: the current time in seconds since 1970.
std::int64_t seconds_now();

}  // namespace tq
