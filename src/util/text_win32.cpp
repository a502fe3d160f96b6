#include <windows.h>

#include <time.h>

#include "util/text.h"

namespace tq {

std::string to_utf8(WStringView wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

WString to_wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    WString out(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), units);
    return out;
}

std::string win32_error_text(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (buffer != nullptr) {
        WString wide(buffer, length);
        LocalFree(buffer);
        while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n')) {
            wide.pop_back();
        }
        text = to_utf8(wide);
    }
    if (!text.empty()) {
        return text;
    }
    return "Win32 error " + std::to_string(code);
}

std::tm local_time_now() {
    const __time64_t now = _time64(nullptr);
    std::tm local{};
    _localtime64_s(&local, &now);
    return local;
}

}  // namespace tq
