#include "hwid/mount_rules.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <utility>

namespace tq {
namespace {

// The kernel writes space, tab, line feed and backslash in mount points as a
// backslash and three octal digits.
std::string decode_octal_escapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            const std::string_view digits = text.substr(i + 1, 3);
            if (std::all_of(digits.begin(), digits.end(),
                            [](char c) { return c >= '0' && c <= '7'; })) {
                out.push_back(static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 +
                                                (digits[2] - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

bool parse_number(std::string_view text, std::uint32_t& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::vector<BlockMount> parse_block_mounts(std::string_view mountinfo) {
    std::vector<BlockMount> out;
    std::istringstream lines{std::string(mountinfo)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> parts;
        std::string part;
        while (fields >> part) {
            parts.push_back(part);
        }
        // id parent major:minor root mount-point options [optional...] - type source ...
        const auto separator = std::find(parts.begin(), parts.end(), "-");
        if (parts.size() < 6 || separator == parts.end() || separator + 1 == parts.end() ||
            separator - parts.begin() < 6) {
            continue;
        }
        const std::string& device = parts[2];
        const auto colon = device.find(':');
        BlockMount mount;
        if (colon == std::string::npos ||
            !parse_number(std::string_view(device).substr(0, colon), mount.major) ||
            !parse_number(std::string_view(device).substr(colon + 1), mount.minor)) {
            continue;
        }
        if (mount.major == 0) {
            continue;
        }
        const bool seen = std::any_of(out.begin(), out.end(), [&](const BlockMount& m) {
            return m.major == mount.major && m.minor == mount.minor;
        });
        if (seen) {
            continue;
        }
        mount.mount_point = decode_octal_escapes(parts[4]);
        mount.fs_type = *(separator + 1);
        out.push_back(std::move(mount));
    }
    return out;
}

}  // namespace tq
