#include "hwid/sha256.h"

namespace tq {

std::string sha256_hex(std::string_view text) {
    return sha256_hex(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace tq
