#include "net/envelope.h"

#include "util/utf.h"

namespace tq {
namespace {

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

std::size_t sequence_length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

}  // namespace

std::string raw_text(std::string_view bytes, std::size_t limit) {
    std::size_t keep = std::min(bytes.size(), limit);
    if (keep < bytes.size()) {
        // Step back over the continuation bytes of a character that runs
        // past the limit, to its lead byte, and leave it out.
        std::size_t lead = keep;
        while (lead > 0 && keep - lead < 3 &&
               is_continuation(static_cast<unsigned char>(bytes[lead - 1]))) {
            --lead;
        }
        if (lead > 0) {
            const std::size_t start = lead - 1;
            if (start + sequence_length(static_cast<unsigned char>(bytes[start])) > keep) {
                keep = start;
            }
        }
    }
    return make_valid_utf8(bytes.substr(0, keep));
}

json parse_body(const HttpResponse& response) {
    if (response.body.empty()) {
        return json::object();
    }
    json parsed = json::parse(response.body, nullptr, false);
    if (parsed.is_discarded()) {
        return json{{"raw", raw_text(response.body, kRawBodyLimit)}};
    }
    return parsed;
}

json make_envelope(const HttpResponse& response) {
    const bool ok = response.error.empty() && response.status >= 200 && response.status <= 299;
    json envelope = {{"ok", ok}, {"status", response.status}};
    const json body = parse_body(response);
    if (body.is_object()) {
        for (const auto& [key, value] : body.items()) {
            envelope[key] = value;
        }
    } else {
        envelope["body"] = body;
    }
    // An "error" member of another type says nothing readable; it stays in
    // the envelope as the backend sent it but gives no error text.
    const std::string error =
        !response.error.empty() ? response.error : string_member(body, "error");
    if (!ok && !error.empty()) {
        envelope["error"] = error;
    }
    return envelope;
}

std::string error_text(const HttpResponse& response, const json& body) {
    if (!response.error.empty()) {
        return response.error;
    }
    if (std::string backend = string_member(body, "error"); !backend.empty()) {
        return backend;
    }
    if (response.status != 0) {
        return "HTTP " + std::to_string(response.status);
    }
    return "pedido falhou";
}

std::string string_member(const json& value, const std::string& key) {
    if (!value.is_object()) {
        return {};
    }
    const auto it = value.find(key);
    return it != value.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace tq
