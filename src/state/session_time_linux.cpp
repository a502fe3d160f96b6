#include <time.h>

#include "state/session.h"

namespace tq {

std::int64_t utc_tm_to_seconds(std::tm& broken) {
    return static_cast<std::int64_t>(timegm(&broken));
}

bool seconds_to_utc_tm(std::int64_t seconds, std::tm& broken) {
    const time_t value = static_cast<time_t>(seconds);
    return gmtime_r(&value, &broken) != nullptr;
}

std::int64_t seconds_now() {
    return static_cast<std::int64_t>(time(nullptr));
}

}  // namespace tq
