#include "ui/bridge.h"

#include <exception>

#include "util/log.h"

namespace tq::ui {
namespace {

// Error responses carry exception texts, which a handler may have built from
// bytes that are not UTF-8; they are written with replacement so the page
// always gets an answer.
std::string error_response(const json& id, const std::string& error) {
    return json{{"id", id}, {"error", error}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

void Bridge::add_method(std::string name, BridgeHandler handler) {
    handlers_[std::move(name)] = std::move(handler);
}

void Bridge::set_sender(BridgeSender sender) {
    sender_ = std::move(sender);
}

std::string Bridge::handle_message(const std::string& text) {
    json request = json::parse(text, nullptr, false, false);
    if (request.is_string()) {
        request = json::parse(request.get_ref<const std::string&>(), nullptr, false, false);
    }
    if (!request.is_object()) {
        log_warn("Bridge received malformed message");
        return error_response(nullptr, "malformed request");
    }
    return dispatch(request);
}

std::string Bridge::dispatch(const json& request) {
    const json id = request.contains("id") ? request["id"] : json(nullptr);

    // A method that is not a string gets the library's own type-error text,
    // like any other mistyped member a handler reads.
    std::string method;
    try {
        method = request.value("method", std::string{});
    } catch (const json::exception& e) {
        log_error("Bridge handler '" + request["method"].dump() + "' threw: " + e.what());
        return error_response(id, e.what());
    }

    const json params = request.contains("params") ? request["params"] : json::object();

    const auto handler = handlers_.find(method);
    if (handler == handlers_.end()) {
        return error_response(id, "unknown method: " + method);
    }
    log_debug("Bridge -> " + method);

    try {
        json result = handler->second(params);
        return json{{"id", id}, {"result", std::move(result)}}.dump();
    } catch (const std::exception& e) {
        log_error("Bridge handler '" + method + "' threw: " + e.what());
        return error_response(id, e.what());
    }
}

void Bridge::emit(const std::string& event, const json& data) {
    if (!sender_) {
        return;
    }
    std::string text;
    try {
        text = json{{"event", event}, {"data", data}}.dump();
    } catch (const std::exception& e) {
        log_error("Bridge failed to emit " + event + ": " + e.what());
        return;
    }
    sender_(text);
}

}  // namespace tq::ui
