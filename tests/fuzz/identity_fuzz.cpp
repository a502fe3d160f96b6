// Identity and history parsing take text from firmware, the kernel and the
// package manager: whatever bytes arrive, the rules must hold and nothing
// may read out of bounds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hwid/component_hash.h"
#include "hwid/identity_rules.h"
#include "hwid/mount_rules.h"
#include "inventory/update_search_history.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool is_upper_alnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string normalized = tq::normalize_component(text);
    for (const char c : normalized) {
        check(is_upper_alnum(c));
    }
    check(tq::normalize_component(normalized) == normalized);
    const std::string hash = tq::hash_component(text);
    check(hash.empty() || hash.size() == 64);
    check(hash.empty() == !tq::is_meaningful_component(normalized));
    if (tq::is_meaningful_component(normalized)) {
        check(normalized.size() >= 3);
    }

    const std::size_t half = size / 2;
    const std::string list_hash = tq::hash_component_list(
        {std::string(text.substr(0, half)), std::string(text.substr(half))});
    const std::string swapped_hash = tq::hash_component_list(
        {std::string(text.substr(half)), std::string(text.substr(0, half))});
    check(list_hash == swapped_hash);

    const std::string serial = tq::filesystem_serial_text(text.substr(0, half), text.substr(half));
    check(serial.find('-') == std::string::npos);

    for (const tq::BlockMount& mount : tq::parse_block_mounts(text)) {
        check(mount.major != 0);
    }
    for (const tq::UpdateInfo& update : tq::parse_dpkg_upgrades(text)) {
        check(update.installed && !update.title.empty());
    }
    for (const tq::UpdateInfo& update : tq::parse_apt_simulation(text)) {
        check(!update.installed && !update.title.empty());
    }
    return 0;
}
