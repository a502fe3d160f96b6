#include "net/authorized_call.h"

#include "util/log.h"

namespace tq {

HttpResponse authorized_call(SessionStore* store, HttpClient& client,
                             const std::function<HttpResponse()>& call, const SecondsClock& now) {
    const std::string token = ensure_fresh_token(store, client, false, now);
    if (token.empty()) {
        HttpResponse refused;
        refused.status = 401;
        refused.error = "not signed in";
        return refused;
    }
    HttpResponse first = call();
    if (first.status != 401 || store == nullptr) {
        return first;
    }
    if (refresh_after_rejection(*store, client, token).empty()) {
        return first;
    }
    log_info("retrying after 401");
    return call();
}

}  // namespace tq
