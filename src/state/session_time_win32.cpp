#include <time.h>

#include "state/session.h"

namespace tq {

std::int64_t utc_tm_to_seconds(std::tm& broken) {
    return static_cast<std::int64_t>(_mkgmtime64(&broken));
}

bool seconds_to_utc_tm(std::int64_t seconds, std::tm& broken) {
    const __time64_t value = static_cast<__time64_t>(seconds);
    return _gmtime64_s(&broken, &value) == 0;
}

std::int64_t seconds_now() {
    return static_cast<std::int64_t>(_time64(nullptr));
}

}  // namespace tq
