#include "state/session_store.h"

#include "state/file_store.h"
#include "util/log.h"

namespace tq {

SessionStore::SessionStore(std::string path)
    : path_(std::move(path)), binding_(default_session_binding(path_)) {}

SessionStore::SessionStore(std::string path, SessionBinding binding)
    : path_(std::move(path)), binding_(std::move(binding)) {}

// A missing, foreign or damaged file means nobody is signed in; none of
// these paths is worth a log line.
std::optional<Session> SessionStore::load() {
    std::lock_guard lock(mutex_);
    const std::optional<std::string> blob = read_whole_file(path_from_utf8(path_));
    if (!blob || blob->empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> plaintext = unprotect_session(binding_, *blob);
    if (!plaintext) {
        return std::nullopt;
    }
    return session_from_plaintext(*plaintext);
}

bool SessionStore::save(const Session& session) {
    std::lock_guard lock(mutex_);
    if (const auto folder = folder_of(path_)) {
        make_folder_levels(*folder);
    }
    std::string error;
    const std::optional<std::string> blob =
        protect_session(binding_, session_to_plaintext(session), error);
    if (!blob) {
        log_error("DPAPI protect failed: " + error);
        return false;
    }
    // Replaced through a temporary file: a crash mid-save keeps the previous
    // session instead of leaving a torn file that reads as signed out.
    return replace_file(path_, path_ + ".tmp", *blob, FileAccess::owner_only).ok();
}

bool SessionStore::clear() {
    std::lock_guard lock(mutex_);
    return delete_file(path_);
}

std::string session_path_in(const std::string& data_dir) {
    return path_in_folder(data_dir, "auth.dat");
}

}  // namespace tq
