#include "util/utf.h"

#include <cstdint>

namespace tq {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kIllFormed = 0xFFFFFFFF;

// Decodes one code point starting at text[pos] and advances pos past it, or
// past the maximal ill-formed subsequence (returning kIllFormed).
char32_t decode_one(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(pos++);
    if (lead < 0x80) {
        return lead;
    }
    int trail_count = 0;
    char32_t cp = 0;
    std::uint8_t lo = 0x80;
    std::uint8_t hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail_count = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail_count = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) {
            lo = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            hi = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail_count = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) {
            lo = 0x90;
        } else if (lead == 0xF4) {
            hi = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return kIllFormed;
    }
    for (int i = 0; i < trail_count; ++i) {
        if (pos >= text.size()) {
            return kIllFormed;
        }
        const std::uint8_t b = byte(pos);
        if (b < lo || b > hi) {
            return kIllFormed;
        }
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
        ++pos;
    }
    return cp;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool is_high_surrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool is_low_surrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

std::u16string utf8_to_utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t decoded = decode_one(utf8, pos);
        const char32_t cp = decoded == kIllFormed ? kReplacement : decoded;
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string utf16_to_utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (is_high_surrogate(u) && i + 1 < utf16.size() && is_low_surrogate(utf16[i + 1])) {
            const char32_t cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) +
                                (static_cast<char32_t>(utf16[i + 1]) - 0xDC00);
            append_utf8(out, cp);
            ++i;
        } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
            append_utf8(out, kReplacement);
        } else {
            append_utf8(out, u);
        }
    }
    return out;
}

std::string make_valid_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t start = pos;
        if (decode_one(bytes, pos) == kIllFormed) {
            append_utf8(out, kReplacement);
        } else {
            out.append(bytes.substr(start, pos - start));
        }
    }
    return out;
}

}  // namespace tq
