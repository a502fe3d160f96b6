#include <gtest/gtest.h>

#include <cstring>

#include "support/test_support.h"
#include "util/text.h"
#include "util/utf.h"

namespace tq {
namespace {

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

std::ostream& operator<<(std::ostream& out, const Utf8Case& c) {
    return out << c.name;
}

// Round trips that both platforms' converters agree on.
class WellFormedText : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(WellFormedText, ConvertsBothWays) {
    const Utf8Case& c = GetParam();
    const WString wide = to_wide(c.utf8);
    EXPECT_EQ(std::u16string(wide.begin(), wide.end()), c.utf16);
    EXPECT_EQ(to_utf8(wide), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Text, WellFormedText,
    ::testing::Values(Utf8Case{"empty", "", u""}, Utf8Case{"ascii", "abc", u"abc"},
                      Utf8Case{"two_byte", "Dispositivo \xC3\xA9", u"Dispositivo \u00E9"},
                      Utf8Case{"three_byte", "\xE2\x82\xAC", u"\u20AC"},
                      Utf8Case{"surrogate_pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
                      Utf8Case{"embedded_nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Text, LoneSurrogateBecomesReplacementCharacter) {
    WString wide = TQ_W("a");
    wide.push_back(static_cast<WChar>(0xD800));
    wide.push_back(TQ_W('b'));
    EXPECT_EQ(to_utf8(wide),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(Text, IllFormedUtf8IsReplacedNotRejected) {
    if (test::running_under_wine()) {
        GTEST_SKIP() << "Wine's MultiByteToWideChar also swallows the byte after an "
                        "ill-formed one; Windows and our Linux converter keep it";
    }
    const WString wide = to_wide("x\xE9y");
    EXPECT_EQ(std::u16string(wide.begin(), wide.end()), u"x\uFFFDy");
}

struct ValidUtf8Case {
    const char* name;
    std::string in;
    std::string out;
};

std::ostream& operator<<(std::ostream& out, const ValidUtf8Case& c) {
    return out << c.name;
}

class MakeValidUtf8 : public ::testing::TestWithParam<ValidUtf8Case> {};

TEST_P(MakeValidUtf8, ReplacesEachIllFormedSubsequenceOnce) {
    EXPECT_EQ(make_valid_utf8(GetParam().in), GetParam().out);
    EXPECT_EQ(utf16_to_utf8(utf8_to_utf16(GetParam().in)), GetParam().out);
}

#define FFFD "\xEF\xBF\xBD"
INSTANTIATE_TEST_SUITE_P(
    Text, MakeValidUtf8,
    ::testing::Values(ValidUtf8Case{"valid_kept", "caf\xC3\xA9", "caf\xC3\xA9"},
                      ValidUtf8Case{"lone_latin1", "caf\xE9", "caf" FFFD},
                      ValidUtf8Case{"truncated_at_end", "a\xE2\x82", "a" FFFD},
                      ValidUtf8Case{"truncated_mid", "\xE2\x82z", FFFD "z"},
                      ValidUtf8Case{"overlong", "\xC0\xAF", FFFD FFFD},
                      ValidUtf8Case{"encoded_surrogate", "\xED\xA0\x80", FFFD FFFD FFFD},
                      ValidUtf8Case{"above_max", "\xF4\x90\x80\x80", FFFD FFFD FFFD FFFD},
                      ValidUtf8Case{"stray_continuation",
                                    "\x80"
                                    "a",
                                    FFFD "a"},
                      ValidUtf8Case{"replacement_kept", FFFD, FFFD}),
    [](const auto& info) { return std::string(info.param.name); });
#undef FFFD

TEST(Text, Win32ErrorTextHasNoTrailingLineBreak) {
    const std::string text = win32_error_text(2);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
    EXPECT_EQ(text.rfind("Win32 error", 0), std::string::npos) << text;
}

TEST(Text, Win32ErrorTextFallsBackToDecimal) {
    EXPECT_EQ(win32_error_text(0x20000001), "Win32 error 536870913");
    EXPECT_EQ(win32_error_text(12029), "Win32 error 12029");
}

TEST(Text, HresultTextEndsWithEightUpperCaseDigits) {
    const std::string text = hresult_text(static_cast<std::int32_t>(0x80004005));
    const std::string suffix = " (0x80004005)";
    ASSERT_GT(text.size(), suffix.size());
    EXPECT_EQ(text.substr(text.size() - suffix.size()), suffix);
    EXPECT_EQ(hresult_text(0x20000001), "Win32 error 536870913 (0x20000001)");
    EXPECT_EQ(hresult_text(0x1AB).substr(hresult_text(0x1AB).size() - 13), " (0x000001AB)");
}

TEST(Text, IsoTimestampFormat) {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ(format_iso_timestamp(t), "2024-03-05T07:08:09");

    const std::string now = iso_timestamp_now();
    ASSERT_EQ(now.size(), 19u) << now;
    EXPECT_EQ(now[10], 'T');
    EXPECT_EQ(now.find_first_not_of("0123456789-T:"), std::string::npos) << now;
}

TEST(Text, Join) {
    EXPECT_EQ(join({}, "|"), "");
    EXPECT_EQ(join({"A"}, "|"), "A");
    EXPECT_EQ(join({"A", "", "B"}, "|"), "A||B");
    EXPECT_EQ(join({"sse", "avx"}, ","), "sse,avx");
}

TEST(Text, Trim) {
    EXPECT_EQ(trim("\t ABC  123 \r\n"), "ABC  123");
    EXPECT_EQ(trim(" \t\n\v\f\r"), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("x"), "x");
    // Only bytes 9-13 and space count; NUL and NBSP stay.
    EXPECT_EQ(trim(std::string("\0a", 2)), std::string("\0a", 2));
    EXPECT_EQ(trim("\xC2\xA0"
                   "a"),
              "\xC2\xA0"
              "a");
}

TEST(Text, ToHex) {
    const std::vector<std::uint8_t> bytes{0x00, 0xAB, 0x0F};
    EXPECT_EQ(to_hex(bytes, false), "00ab0f");
    EXPECT_EQ(to_hex(bytes, true), "00AB0F");
    EXPECT_EQ(to_hex({}, true), "");
}

TEST(Text, CaseMappingIsAsciiOnly) {
    EXPECT_EQ(to_upper("pci\\ven_10de&dev_2684"), "PCI\\VEN_10DE&DEV_2684");
    EXPECT_EQ(to_lower("NVIDIA GeForce"), "nvidia geforce");
    EXPECT_EQ(to_upper("\xC3\xA9z"), "\xC3\xA9Z");
    EXPECT_EQ(to_lower("\xC3\x89Z"), "\xC3\x89z");
}

}  // namespace
}  // namespace tq
