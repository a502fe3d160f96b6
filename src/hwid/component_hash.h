#pragma once

// How identity components become hashes: normalisation, the placeholder
// filter, one hash per component or list, and the fingerprint over them.
// Pure rules; only the digest itself goes to the platform.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tq {

// Keeps the ASCII letters and digits, upper-cased; drops every other byte.
std::string normalize_component(std::string_view text);

// False for normalised text shorter than 3 characters, equal to a known
// firmware placeholder, or made of one repeated character.
bool is_meaningful_component(std::string_view normalized);

// SHA-256 of the normalised text, or "" when it is not meaningful.
std::string hash_component(std::string_view text);

// One hash over the meaningful elements, normalised, sorted, de-duplicated
// and joined with "|", so the source's order does not matter; "" when none
// is meaningful.
std::string hash_component_list(const std::vector<std::string>& items);

// SHA-256 over the lines key=hash of the non-empty hashes, sorted and joined
// with line feeds (no trailing one); "" when every hash is empty.
std::string fingerprint_of_hashes(const std::vector<std::pair<std::string, std::string>>& hashes);

}  // namespace tq
