#include "state/session.h"

#include <nlohmann/json.hpp>

namespace tq {
namespace {

using json = nlohmann::json;

// The latest moment the platform's date conversions accept:
// 3000-12-31T23:59:59 UTC.
constexpr std::int64_t kLastSecond = 32535215999;

// Reads 1..max_digits decimal digits at `pos`.
bool read_number(std::string_view text, std::size_t& pos, int max_digits, int& value) {
    value = 0;
    int digits = 0;
    while (pos < text.size() && digits < max_digits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

bool read_separator(std::string_view text, std::size_t& pos, char separator) {
    if (pos < text.size() && text[pos] == separator) {
        ++pos;
        return true;
    }
    return false;
}

std::string string_or_empty(const json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

bool operator==(const Session& a, const Session& b) {
    return a.access_token == b.access_token && a.refresh_token == b.refresh_token &&
           a.user_id == b.user_id && a.email == b.email && a.expires_at == b.expires_at;
}

std::string session_to_plaintext(const Session& session) {
    const json object = {{"access_token", session.access_token},
                         {"email", session.email},
                         {"expires_at", session.expires_at},
                         {"refresh_token", session.refresh_token},
                         {"user_id", session.user_id}};
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<Session> session_from_plaintext(std::string_view text) {
    const json parsed = json::parse(text, nullptr, false);
    if (!parsed.is_object()) {
        return std::nullopt;
    }
    Session session;
    session.access_token = string_or_empty(parsed, "access_token");
    session.refresh_token = string_or_empty(parsed, "refresh_token");
    session.user_id = string_or_empty(parsed, "user_id");
    session.email = string_or_empty(parsed, "email");
    session.expires_at = string_or_empty(parsed, "expires_at");
    return session;
}

std::optional<std::int64_t> parse_expiry(std::string_view text) {
    std::size_t pos = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    const bool parsed = read_number(text, pos, 4, year) && read_separator(text, pos, '-') &&
                        read_number(text, pos, 2, month) && read_separator(text, pos, '-') &&
                        read_number(text, pos, 2, day) && read_separator(text, pos, 'T') &&
                        read_number(text, pos, 2, hour) && read_separator(text, pos, ':') &&
                        read_number(text, pos, 2, minute) && read_separator(text, pos, ':') &&
                        read_number(text, pos, 2, second);
    if (!parsed || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
        second > 60) {
        return std::nullopt;
    }
    return utc_to_seconds(year, month, day, hour, minute, second);
}

bool token_expired(std::string_view expires_at, std::int64_t now) {
    if (expires_at.empty()) {
        return false;
    }
    const std::optional<std::int64_t> moment = parse_expiry(expires_at);
    if (!moment || *moment == 0) {
        return false;
    }
    return now + 60 >= *moment;
}

std::optional<std::string> format_expiry(std::int64_t seconds) {
    if (seconds < 0 || seconds > kLastSecond) {
        return std::nullopt;
    }
    return seconds_to_utc_text(seconds);
}

std::optional<std::string> format_expiry(double seconds) {
    // Compared as a double first: converting an out-of-range double is
    // undefined.
    if (!(seconds >= 0.0) || seconds >= static_cast<double>(kLastSecond + 1)) {
        return std::nullopt;
    }
    return format_expiry(static_cast<std::int64_t>(seconds));
}

std::int64_t utc_to_seconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm broken{};
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    return utc_tm_to_seconds(broken);
}

std::string seconds_to_utc_text(std::int64_t seconds) {
    std::tm broken{};
    if (!seconds_to_utc_tm(seconds, broken)) {
        return {};
    }
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &broken);
    return text;
}

}  // namespace tq
