#include "hwid/smbios.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "util/bytes.h"

namespace tq {

namespace {

constexpr std::size_t kHeaderSize = 8;

struct Structure {
    std::uint8_t type = 0;
    std::span<const std::uint8_t> formatted;
    std::vector<std::string> strings;
};

// The string set after a formatted area ending at `pos`. Returns where the
// structure ends.
std::size_t read_string_set(std::span<const std::uint8_t> data, std::size_t pos,
                            std::vector<std::string>& strings) {
    const std::size_t end = data.size();
    if (pos >= end)
        return end;
    if (data[pos] == 0) {
        ++pos;
        if (pos < end && data[pos] == 0)
            ++pos;
        return pos;
    }
    while (pos < end) {
        const std::size_t start = pos;
        while (pos < end && data[pos] != 0)
            ++pos;
        strings.emplace_back(reinterpret_cast<const char*>(data.data() + start), pos - start);
        if (pos >= end)
            return end;
        ++pos;  // the string's NUL
        if (pos >= end)
            return end;
        if (data[pos] == 0)
            return pos + 1;
    }
    return end;
}

std::string string_at(const Structure& s, std::size_t offset) {
    const std::uint8_t index = s.formatted[offset];
    if (index == 0 || index > s.strings.size())
        return {};
    return s.strings[index - 1];
}

void handle(const Structure& s, SmbiosInfo& info) {
    const std::size_t length = s.formatted.size();
    switch (s.type) {
        case 0:
            if (length < 9)
                return;
            info.bios_version = string_at(s, 5);
            info.bios_date = string_at(s, 8);
            return;
        case 1:
            if (length < 25)
                return;
            info.system_manufacturer = string_at(s, 4);
            info.system_product = string_at(s, 5);
            info.system_serial = string_at(s, 7);
            info.system_uuid = smbios_uuid_text(s.formatted.subspan<8, 16>());
            return;
        case 2:
            if (length < 8)
                return;
            info.baseboard_serial = string_at(s, 7);
            return;
        default:
            return;
    }
}

}  // namespace

std::string smbios_uuid_text(std::span<const std::uint8_t, 16> u) {
    const bool all_zero = std::all_of(u.begin(), u.end(), [](std::uint8_t b) { return b == 0; });
    const bool all_ff = std::all_of(u.begin(), u.end(), [](std::uint8_t b) { return b == 0xFF; });
    if (all_zero || all_ff)
        return {};
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", u[3],
                  u[2], u[1], u[0], u[5], u[4], u[7], u[6], u[8], u[9], u[10], u[11], u[12], u[13],
                  u[14], u[15]);
    return text;
}

SmbiosInfo walk_smbios(std::span<const std::uint8_t> data) {
    SmbiosInfo info;
    std::size_t pos = 0;
    while (data.size() - pos >= 4) {
        Structure s;
        s.type = data[pos];
        const std::size_t length = data[pos + 1];
        if (length < 4 || length > data.size() - pos)
            break;
        s.formatted = data.subspan(pos, length);
        const std::size_t next = read_string_set(data, pos + length, s.strings);
        handle(s, info);
        if (next <= pos || data.size() - next < 4)
            break;
        pos = next;
    }
    return info;
}

std::optional<SmbiosInfo> parse_smbios_raw(std::span<const std::uint8_t> raw) {
    if (raw.size() <= kHeaderSize)
        return std::nullopt;
    const std::uint32_t length = le_u32_at(raw, 4);
    if (length == 0)
        return std::nullopt;
    const std::size_t available = raw.size() - kHeaderSize;
    return walk_smbios(raw.subspan(kHeaderSize, std::min<std::size_t>(length, available)));
}

}  // namespace tq
