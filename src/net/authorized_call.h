#pragma once

// Calls that need a signed-in user: a usable token first, then the call,
// and after a 401 one refresh and one retry.

#include <functional>

#include "net/http_client.h"
#include "state/session_store.h"
#include "state/token_lifetime.h"

namespace tq {

// `call` performs one request through `client`; it runs once or twice.
// Without a session: status 401, "not signed in", and nothing is sent.
HttpResponse authorized_call(SessionStore* store, HttpClient& client,
                             const std::function<HttpResponse()>& call,
                             const SecondsClock& now = seconds_now);

}  // namespace tq
