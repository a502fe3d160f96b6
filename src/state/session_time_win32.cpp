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
    return static_cast<std::int64_t>(_mkgmtime64(&broken));
}

std::string seconds_to_utc_text(std::int64_t seconds) {
    const __time64_t value = static_cast<__time64_t>(seconds);
    std::tm broken{};
    if (_gmtime64_s(&broken, &value) != 0) {
        return {};
    }
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &broken);
    return text;
}

std::int64_t seconds_now() {
    return static_cast<std::int64_t>(_time64(nullptr));
}

}  // namespace tq
