#include <time.h>

#include <ctime>

#include "state/session.h"

namespace tq {

std::int64_t utc_to_seconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm broken{};
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&broken));
}

std::string seconds_to_utc_text(std::int64_t seconds) {
    const time_t value = static_cast<time_t>(seconds);
    std::tm broken{};
    gmtime_r(&value, &broken);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &broken);
    return text;
}

std::int64_t seconds_now() {
    return static_cast<std::int64_t>(time(nullptr));
}

}  // namespace tq
