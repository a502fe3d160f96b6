// Any text the page can post must get exactly one well-formed answer.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "ui/bridge.h"

namespace {

tq::ui::Bridge& bridge() {
    static tq::ui::Bridge b = [] {
        tq::ui::Bridge made;
        made.add_method("app.info", [](const tq::json& p) { return tq::json{{"echo", p}}; });
        made.add_method("auth.login", [](const tq::json& p) {
            return tq::json{{"email", p.value("email", std::string{})},
                            {"remember", p.value("remember", false)}};
        });
        made.add_method("inventory.collect", [](const tq::json& p) -> tq::json {
            if (p.value("updates", false)) {
                throw std::runtime_error("busy");
            }
            return tq::json{{"accepted", true}};
        });
        return made;
    }();
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string response = bridge().handle_message(text);
    const tq::json parsed = tq::json::parse(response, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("id") ||
        parsed.contains("result") == parsed.contains("error")) {
        std::abort();
    }
    return 0;
}
