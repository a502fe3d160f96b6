// Any status and body the backend can send must give an envelope that
// serialises, and an error text that is never empty.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/envelope.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    tq::HttpResponse response;
    std::int16_t status = 0;
    std::memcpy(&status, data, sizeof status);
    response.status = status;
    if ((data[2] & 1) != 0) {
        response.error = "WinHttpSendRequest failed: fuzz";
    }
    response.body.assign(reinterpret_cast<const char*>(data + 3), size - 3);

    const tq::json body = tq::parse_body(response);
    const tq::json envelope = tq::make_envelope(response);
    if (!envelope.is_object() || !envelope.contains("ok") || !envelope.contains("status")) {
        std::abort();
    }
    // A body that is not JSON is kept as at most 512 bytes of text.
    if (!response.body.empty() && !tq::json::accept(response.body) &&
        body["raw"].get_ref<const std::string&>().size() > tq::kRawBodyLimit) {
        std::abort();
    }
    // Throws, and so ends the run, if any text in it is not valid UTF-8.
    const std::string text = envelope.dump();
    if (tq::error_text(response, body).empty()) {
        std::abort();
    }
    (void)tq::string_member(body, "error");
    return 0;
}
