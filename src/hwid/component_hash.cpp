#include "hwid/component_hash.h"

#include <algorithm>
#include <array>

#include "hwid/sha256.h"
#include "util/text.h"

namespace tq {
namespace {

// Texts that firmware and vendors put where a real identifier belongs, in
// their normalised form. Matching one means "no identifier here".
constexpr std::array<std::string_view, 13> kPlaceholders{
    "TOBEFILLEDBYOEM",
    "DEFAULTSTRING",
    "SYSTEMSERIALNUMBER",
    "NOTSPECIFIED",
    "NOSERIAL",
    "NONE",
    "UNKNOWN",
    "NA",
    "NULL",
    "OEM",
    "XXXXXXX",
    "0000000000000000",
    "FFFFFFFFFFFFFFFF",
};

bool is_ascii_alnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string normalize_component(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!is_ascii_alnum(c)) {
            continue;
        }
        out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : ch);
    }
    return out;
}

bool is_meaningful_component(std::string_view normalized) {
    if (normalized.size() < 3) {
        return false;
    }
    if (std::find(kPlaceholders.begin(), kPlaceholders.end(), normalized) != kPlaceholders.end()) {
        return false;
    }
    return normalized.find_first_not_of(normalized.front()) != std::string_view::npos;
}

std::string hash_component(std::string_view text) {
    const std::string normalized = normalize_component(text);
    if (!is_meaningful_component(normalized)) {
        return "";
    }
    return sha256_hex(normalized);
}

std::string hash_component_list(const std::vector<std::string>& items) {
    std::vector<std::string> kept;
    kept.reserve(items.size());
    for (const std::string& item : items) {
        std::string normalized = normalize_component(item);
        if (is_meaningful_component(normalized)) {
            kept.push_back(std::move(normalized));
        }
    }
    if (kept.empty()) {
        return "";
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    return sha256_hex(join(kept, "|"));
}

std::string fingerprint_of_hashes(const std::vector<std::pair<std::string, std::string>>& hashes) {
    std::vector<std::string> lines;
    for (const auto& [key, hash] : hashes) {
        if (!hash.empty()) {
            lines.push_back(key + "=" + hash);
        }
    }
    if (lines.empty()) {
        return "";
    }
    std::sort(lines.begin(), lines.end());
    return sha256_hex(join(lines, "\n"));
}

}  // namespace tq
