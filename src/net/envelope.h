#pragma once

// Backend answers in the forms the page and the bridge methods use: the
// parsed body, the response envelope ({"ok", "status"} plus the answer's own
// members) and a one-line error text.

#include <nlohmann/json.hpp>
#include <string>

#include "net/http_client.h"

namespace tq {

using json = nlohmann::json;

// The longest "raw" text kept from a body that is not JSON.
inline constexpr std::size_t kRawBodyLimit = 512;

// An empty body is an empty object; text that is not JSON becomes
// {"raw": its first 512 bytes as valid UTF-8}; anything else is the parsed
// value.
json parse_body(const HttpResponse& response);

json make_envelope(const HttpResponse& response);

// Never empty: the transport's text, the backend's "error" text, "HTTP "
// with the status, or "pedido falhou".
std::string error_text(const HttpResponse& response, const json& body);

// The member's text when `value` is an object whose `key` is a string,
// otherwise empty.
std::string string_member(const json& value, const std::string& key);

// At most `limit` bytes of `bytes`, as valid UTF-8: a character cut by the
// limit is dropped whole and ill-formed bytes become U+FFFD, so the text can
// always be serialised.
std::string raw_text(std::string_view bytes, std::size_t limit);

}  // namespace tq
