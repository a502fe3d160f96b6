#include "state/token_lifetime.h"

#include <limits>

#include "net/api_client.h"
#include "util/log.h"

namespace tq {
namespace {

std::string sign_out(SessionStore& store, HttpClient& client, const std::string& warning) {
    log_warn(warning);
    store.clear();
    client.clear_access_token();
    return {};
}

// The stored expiry a refresh answer asks for; nothing keeps the current
// one (absent, null, a boolean, an object or array, or a number that is no
// date).
std::optional<std::string> answered_expiry(const json& answer) {
    const auto it = answer.is_object() ? answer.find("expires_at") : answer.end();
    if (it == answer.end()) {
        return std::nullopt;
    }
    if (it->is_string()) {
        return it->get<std::string>();
    }
    if (it->is_number_unsigned()) {
        const auto value = it->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return std::nullopt;
        }
        return format_expiry(static_cast<std::int64_t>(value));
    }
    if (it->is_number_integer()) {
        return format_expiry(it->get<std::int64_t>());
    }
    if (it->is_number_float()) {
        return format_expiry(it->get<double>());
    }
    return std::nullopt;
}

// Runs with the store's refresh mutex held.
std::string refresh_locked(SessionStore& store, HttpClient& client, const Session& session) {
    if (session.refresh_token.empty()) {
        return sign_out(store, client,
                        "session expired and no refresh token is stored; signing out");
    }
    const HttpResponse response = ApiClient::refresh(client, session.refresh_token);
    if (!response.error.empty() || response.status < 200 || response.status > 299) {
        return sign_out(
            store, client,
            "token refresh failed (status " + std::to_string(response.status) + "); signing out");
    }
    // An answer we cannot read says nothing about the session: it stays
    // signed in for the next call.
    const json answer = json::parse(response.body, nullptr, false);
    if (answer.is_discarded()) {
        return {};
    }
    Session next = session;
    next.access_token = string_member(answer, "access_token");
    if (std::string rotated = string_member(answer, "refresh_token"); !rotated.empty()) {
        next.refresh_token = std::move(rotated);
    }
    if (std::optional<std::string> expiry = answered_expiry(answer)) {
        next.expires_at = std::move(*expiry);
    }
    if (next.access_token.empty()) {
        return {};
    }
    store.save(next);
    client.set_access_token(next.access_token);
    log_info("session refreshed");
    return next.access_token;
}

}  // namespace

void restore_session(SessionStore* store, HttpClient& client) {
    const std::optional<Session> session = store != nullptr ? store->load() : std::nullopt;
    if (session && !session->access_token.empty()) {
        client.set_access_token(session->access_token);
        log_info("Restored session for " + session->email);
    }
}

std::string ensure_fresh_token(SessionStore* store, HttpClient& client, bool force,
                               const SecondsClock& now) {
    if (store == nullptr) {
        return {};
    }
    const std::optional<Session> seen = store->load();
    if (!seen || seen->access_token.empty()) {
        return {};
    }
    if (!force && !token_expired(seen->expires_at, now())) {
        client.set_access_token(seen->access_token);
        return seen->access_token;
    }
    std::lock_guard gate(store->refresh_mutex());
    const std::optional<Session> current = store->load();
    if (!current || current->access_token.empty()) {
        return {};
    }
    if (current->access_token != seen->access_token) {
        client.set_access_token(current->access_token);
        return current->access_token;
    }
    return refresh_locked(*store, client, *current);
}

std::string refresh_after_rejection(SessionStore& store, HttpClient& client,
                                    const std::string& rejected_token) {
    std::lock_guard gate(store.refresh_mutex());
    std::optional<Session> session = store.load();
    if (!session || session->refresh_token.empty()) {
        return {};
    }
    if (!session->access_token.empty() && session->access_token != rejected_token) {
        client.set_access_token(session->access_token);
        return session->access_token;
    }
    session->expires_at.clear();
    store.save(*session);
    if (session->access_token.empty()) {
        return {};
    }
    return refresh_locked(store, client, *session);
}

}  // namespace tq
