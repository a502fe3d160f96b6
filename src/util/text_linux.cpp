#include <time.h>

#include <array>
#include <utility>

#include "util/text.h"
#include "util/utf.h"

namespace tq {
namespace {

// The system texts, as the Windows message table words them, of the codes
// this program can meet. WinHTTP's own codes (12xxx) are not in the system
// table on Windows either, so they fall back to the decimal form there too.
constexpr std::array<std::pair<std::uint32_t, const char*>, 16> kSystemMessages{{
    {0, "The operation completed successfully."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {13, "The data is invalid."},
    {32, "The process cannot access the file because it is being used by another process."},
    {87, "The parameter is incorrect."},
    {122, "The data area passed to a system call is too small."},
    {183, "Cannot create a file when that file already exists."},
    {259, "No more data is available."},
    {1168, "Element not found."},
    {0x80004001, "Not implemented"},
    {0x80004005, "Unspecified error"},
    {0x80070005, "Access is denied."},
}};

}  // namespace

std::string to_utf8(WStringView wide) {
    return utf16_to_utf8(wide);
}

WString to_wide(std::string_view utf8) {
    return utf8_to_utf16(utf8);
}

std::string win32_error_text(std::uint32_t code) {
    for (const auto& [known, text] : kSystemMessages) {
        if (known == code) {
            return text;
        }
    }
    return "Win32 error " + std::to_string(code);
}

std::tm local_time_now() {
    const time_t now = time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace tq
