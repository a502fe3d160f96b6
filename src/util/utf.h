#pragma once

// Portable UTF-8 <-> UTF-16 conversion. Ill-formed input never fails: each
// maximal ill-formed subsequence becomes one U+FFFD, as the Unicode standard
// recommends, and embedded NULs are kept.

#include <string>
#include <string_view>

namespace tq {

std::u16string utf8_to_utf16(std::string_view utf8);
std::string utf16_to_utf8(std::u16string_view utf16);

// The same text with every ill-formed sequence replaced by U+FFFD, so it can
// always be serialised as JSON.
std::string make_valid_utf8(std::string_view bytes);

}  // namespace tq
