#pragma once

// auth.dat: the signed-in session, protected for the current user and read
// again whenever it is needed. Every operation holds the store's mutex, so
// threads never see half of another's write.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "state/session.h"

namespace tq {

// What the Linux protection binds its key to. Windows binds the blob to the
// signed-in user itself and ignores these.
struct SessionBinding {
    // A random per-user secret, created on the first save, mode 0600.
    std::string secret_path;
    std::string machine_id;
    std::uint32_t user_id = 0;
};

// The binding of the current user on this machine, with the secret beside
// auth.dat.
SessionBinding default_session_binding(const std::string& auth_path);

// Platform: encrypts the plaintext for the bound user. On failure returns
// nothing and sets `error` to the system's description.
std::optional<std::string> protect_session(const SessionBinding& binding,
                                           std::string_view plaintext, std::string& error);
// Nothing when the blob was damaged or protected for someone else.
std::optional<std::string> unprotect_session(const SessionBinding& binding, std::string_view blob);

class SessionStore {
  public:
    explicit SessionStore(std::string path);
    SessionStore(std::string path, SessionBinding binding);

    std::optional<Session> load();
    bool save(const Session& session);
    bool clear();

    // Held across a whole token refresh (load, exchange, save), so two
    // threads that find the session expired send one refresh between them.
    std::mutex& refresh_mutex() { return refresh_mutex_; }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    SessionBinding binding_;
    std::mutex mutex_;
    std::mutex refresh_mutex_;
};

std::string session_path_in(const std::string& data_dir);

}  // namespace tq
