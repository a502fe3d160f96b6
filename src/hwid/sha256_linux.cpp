#include <sodium.h>

#include <array>

#include "hwid/sha256.h"
#include "util/text.h"

namespace tq {

std::string sha256_hex(std::span<const std::uint8_t> bytes) {
    // sodium_init is idempotent and thread-safe; it fails only when the
    // library cannot get going at all.
    static const bool ready = sodium_init() >= 0;
    if (!ready) {
        return "";
    }
    std::array<std::uint8_t, crypto_hash_sha256_BYTES> digest{};
    if (crypto_hash_sha256(digest.data(), bytes.data(), bytes.size()) != 0) {
        return "";
    }
    return to_hex(digest, false);
}

}  // namespace tq
