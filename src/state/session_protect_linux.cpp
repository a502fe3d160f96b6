// Our stand-in for DPAPI: libsodium's secretbox under a key derived from a
// random per-user secret (a file only its owner can read), the machine id
// and the user id. A file copied to another account or machine, or altered
// by one byte, fails authentication and reads as no session.

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "state/file_store.h"
#include "state/session_store.h"
#include "util/text.h"

namespace tq {
namespace {

constexpr std::string_view kMagic = "TQS1";
constexpr std::size_t kSecretSize = 32;
using Key = std::array<unsigned char, crypto_secretbox_KEYBYTES>;
using Secret = std::array<unsigned char, kSecretSize>;

bool sodium_ready() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// The secret counts only when it is ours, private and whole; anything else
// reads as if it were missing.
std::optional<Secret> read_secret(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    Secret secret{};
    std::array<unsigned char, kSecretSize + 1> buffer{};
    ssize_t got = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        (info.st_mode & 077) == 0) {
        got = ::read(fd, buffer.data(), buffer.size());
    }
    ::close(fd);
    if (got != static_cast<ssize_t>(kSecretSize)) {
        return std::nullopt;
    }
    std::memcpy(secret.data(), buffer.data(), kSecretSize);
    sodium_memzero(buffer.data(), buffer.size());
    return secret;
}

std::optional<Secret> make_secret(const std::string& path, std::string& error) {
    Secret secret{};
    randombytes_buf(secret.data(), secret.size());
    const std::string bytes(reinterpret_cast<const char*>(secret.data()), secret.size());
    const ReplaceOutcome outcome = replace_file(path, path + ".tmp", bytes, FileAccess::owner_only);
    if (!outcome.ok()) {
        error = "cannot write the session key file " + path + ": " +
                std::strerror(static_cast<int>(outcome.error_code));
        return std::nullopt;
    }
    return secret;
}

Key derive_key(const Secret& secret, const SessionBinding& binding) {
    std::string context = "TessarineSoftware session key";
    context.push_back('\0');
    context += binding.machine_id;
    context.push_back('\0');
    context += std::to_string(binding.user_id);
    Key key{};
    crypto_generichash(key.data(), key.size(),
                       reinterpret_cast<const unsigned char*>(context.data()), context.size(),
                       secret.data(), secret.size());
    return key;
}

std::string read_machine_id() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        if (const auto text = read_whole_file(path)) {
            const std::string id = trim(*text);
            if (!id.empty()) {
                return id;
            }
        }
    }
    return {};
}

}  // namespace

SessionBinding default_session_binding(const std::string& auth_path) {
    const std::string folder = folder_of(auth_path).value_or(".");
    return {path_in_folder(folder, "auth.key"), read_machine_id(),
            static_cast<std::uint32_t>(::getuid())};
}

std::optional<std::string> protect_session(const SessionBinding& binding,
                                           std::string_view plaintext, std::string& error) {
    if (!sodium_ready()) {
        error = "libsodium could not be initialised";
        return std::nullopt;
    }
    std::optional<Secret> secret = read_secret(binding.secret_path);
    if (!secret) {
        secret = make_secret(binding.secret_path, error);
        if (!secret) {
            return std::nullopt;
        }
    }
    Key key = derive_key(*secret, binding);
    sodium_memzero(secret->data(), secret->size());

    std::string blob(kMagic);
    blob.resize(kMagic.size() + crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES +
                plaintext.size());
    auto* nonce = reinterpret_cast<unsigned char*>(blob.data() + kMagic.size());
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES,
                          reinterpret_cast<const unsigned char*>(plaintext.data()),
                          plaintext.size(), nonce, key.data());
    sodium_memzero(key.data(), key.size());
    return blob;
}

std::optional<std::string> unprotect_session(const SessionBinding& binding, std::string_view blob) {
    const std::size_t header = kMagic.size() + crypto_secretbox_NONCEBYTES;
    if (!sodium_ready() || blob.size() < header + crypto_secretbox_MACBYTES ||
        blob.substr(0, kMagic.size()) != kMagic) {
        return std::nullopt;
    }
    std::optional<Secret> secret = read_secret(binding.secret_path);
    if (!secret) {
        return std::nullopt;
    }
    Key key = derive_key(*secret, binding);
    sodium_memzero(secret->data(), secret->size());

    const auto* nonce = reinterpret_cast<const unsigned char*>(blob.data() + kMagic.size());
    const std::size_t sealed = blob.size() - header;
    std::string plaintext(sealed - crypto_secretbox_MACBYTES, '\0');
    const int opened =
        crypto_secretbox_open_easy(reinterpret_cast<unsigned char*>(plaintext.data()),
                                   nonce + crypto_secretbox_NONCEBYTES, sealed, nonce, key.data());
    sodium_memzero(key.data(), key.size());
    if (opened != 0) {
        return std::nullopt;
    }
    return plaintext;
}

}  // namespace tq
