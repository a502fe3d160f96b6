#pragma once

// The JSON bridge between the page and native code: one request text in,
// exactly one response text out, and events pushed through an installed
// sender. Knows nothing of windows or browsers.

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace tq {
using json = nlohmann::json;
}

namespace tq::ui {

// Takes the request's params, returns the result; fails by throwing a
// std::exception whose what() becomes the page's error text.
using BridgeHandler = std::function<json(const json&)>;

// Carries one event text to the page. Must be callable from any thread.
using BridgeSender = std::function<void(const std::string&)>;

class Bridge {
  public:
    void add_method(std::string name, BridgeHandler handler);
    void set_sender(BridgeSender sender);

    // UI thread only.
    std::string handle_message(const std::string& text);

    // Any thread. Does nothing until a sender is installed; an event whose
    // data cannot be serialised is logged and dropped.
    void emit(const std::string& event, const json& data);

  private:
    std::string dispatch(const json& request);

    std::map<std::string, BridgeHandler> handlers_;
    BridgeSender sender_;
};

}  // namespace tq::ui
