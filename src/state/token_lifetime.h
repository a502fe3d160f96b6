#pragma once

// Keeping the access token usable: restore it at start-up, refresh it ahead
// of its expiry or after the backend rejected it, and sign out when it can
// no longer be refreshed. The session file is the one source of truth; the
// client only carries a copy of the token.

#include <cstdint>
#include <functional>
#include <string>

#include "net/http_client.h"
#include "state/session_store.h"

namespace tq {

using SecondsClock = std::function<std::int64_t()>;

// Puts a stored access token into the client ("Restored session for ...").
void restore_session(SessionStore* store, HttpClient& client);

// The access token to send, refreshed first when it expires within 60
// seconds or when `force` is set; empty when nobody is (or stays) signed
// in. Refreshes are serialised: a thread that waited for another's refresh
// takes its result instead of sending a second one.
std::string ensure_fresh_token(SessionStore* store, HttpClient& client, bool force,
                               const SecondsClock& now = seconds_now);

// After the backend answered 401 to `rejected_token`: clears the stored
// expiry and refreshes, unless another thread already replaced the token.
// Empty when there is nothing to retry with.
std::string refresh_after_rejection(SessionStore& store, HttpClient& client,
                                    const std::string& rejected_token);

}  // namespace tq
