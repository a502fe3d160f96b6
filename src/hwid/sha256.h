#pragma once

// SHA-256 through the platform's hash provider: CNG on Windows, libsodium on
// Linux. Both give the standard digest, so identities match across builds.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tq {

// Lower-case hexadecimal digest of the bytes, or "" when the provider fails.
std::string sha256_hex(std::span<const std::uint8_t> bytes);
std::string sha256_hex(std::string_view text);

}  // namespace tq
