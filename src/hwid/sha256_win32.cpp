#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <vector>

#include "hwid/sha256.h"
#include "util/text.h"

namespace tq {
namespace {

// Owns the provider and hash handles so every early return releases them.
struct CngHandles {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~CngHandles() {
        if (hash != nullptr) {
            BCryptDestroyHash(hash);
        }
        if (algorithm != nullptr) {
            BCryptCloseAlgorithmProvider(algorithm, 0);
        }
    }
};

bool succeeded(NTSTATUS status) {
    return status >= 0;
}

}  // namespace

std::string sha256_hex(std::span<const std::uint8_t> bytes) {
    CngHandles h;
    if (!succeeded(BCryptOpenAlgorithmProvider(&h.algorithm, L"SHA256", nullptr, 0))) {
        return "";
    }
    DWORD digest_length = 0;
    ULONG written = 0;
    if (!succeeded(BCryptGetProperty(h.algorithm, L"HashDigestLength",
                                     reinterpret_cast<PUCHAR>(&digest_length),
                                     sizeof(digest_length), &written, 0)) ||
        digest_length == 0) {
        return "";
    }
    if (!succeeded(BCryptCreateHash(h.algorithm, &h.hash, nullptr, 0, nullptr, 0, 0))) {
        return "";
    }
    // BCryptHashData takes a non-const pointer but does not write through it.
    if (!succeeded(BCryptHashData(h.hash, const_cast<PUCHAR>(bytes.data()),
                                  static_cast<ULONG>(bytes.size()), 0))) {
        return "";
    }
    std::vector<std::uint8_t> digest(digest_length);
    if (!succeeded(BCryptFinishHash(h.hash, digest.data(), digest_length, 0))) {
        return "";
    }
    return to_hex(digest, false);
}

}  // namespace tq
