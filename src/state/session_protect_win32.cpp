#include <windows.h>

#include <wincrypt.h>

#include "state/session_store.h"
#include "util/text.h"

namespace tq {

SessionBinding default_session_binding(const std::string&) {
    return {};
}

std::optional<std::string> protect_session(const SessionBinding&, std::string_view plaintext,
                                           std::string& error) {
    DATA_BLOB in{static_cast<DWORD>(plaintext.size()),
                 reinterpret_cast<BYTE*>(const_cast<char*>(plaintext.data()))};
    DATA_BLOB out{};
    if (!CryptProtectData(&in, L"TessarineSoftware", nullptr, nullptr, nullptr, 0, &out)) {
        error = win32_error_text(GetLastError());
        return std::nullopt;
    }
    std::string blob(reinterpret_cast<const char*>(out.pbData), out.cbData);
    LocalFree(out.pbData);
    return blob;
}

std::optional<std::string> unprotect_session(const SessionBinding&, std::string_view blob) {
    DATA_BLOB in{static_cast<DWORD>(blob.size()),
                 reinterpret_cast<BYTE*>(const_cast<char*>(blob.data()))};
    DATA_BLOB out{};
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, 0, &out)) {
        return std::nullopt;
    }
    std::string plaintext(reinterpret_cast<const char*>(out.pbData), out.cbData);
    LocalFree(out.pbData);
    return plaintext;
}

}  // namespace tq
