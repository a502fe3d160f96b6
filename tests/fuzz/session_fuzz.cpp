// Any decrypted text must read as a session or as none, and a session that
// was read must write and read back identically.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "state/session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto session = tq::session_from_plaintext(text);
    if (session) {
        const auto again = tq::session_from_plaintext(tq::session_to_plaintext(*session));
        if (!again || !(*again == *session)) {
            std::abort();
        }
        (void)tq::token_expired(session->expires_at, 1893456000);
    }
    (void)tq::parse_expiry(text);
    return 0;
}
