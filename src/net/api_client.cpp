#include "net/api_client.h"

namespace tq {

// Hardware strings can hold bytes that are not UTF-8; they are mended
// rather than failing the request.
std::string request_body(const json& body) {
    return body.dump(-1, ' ', false, json::error_handler_t::replace);
}

HttpResponse ApiClient::register_account(HttpClient& client, const std::string& email,
                                         const std::string& password) {
    return client.post("/auth/register", request_body({{"email", email}, {"password", password}}));
}

HttpResponse ApiClient::login(HttpClient& client, const std::string& email,
                              const std::string& password) {
    return client.post("/auth/login", request_body({{"email", email}, {"password", password}}));
}

HttpResponse ApiClient::refresh(HttpClient& client, const std::string& refresh_token) {
    return client.post("/auth/refresh", request_body({{"refresh_token", refresh_token}}));
}

HttpResponse ApiClient::register_device(HttpClient& client, const json& components,
                                        const std::string& app_version, const std::string& label) {
    return client.post(
        "/devices",
        request_body({{"app_version", app_version}, {"components", components}, {"label", label}}));
}

HttpResponse ApiClient::list_devices(HttpClient& client) {
    return client.get("/devices");
}

HttpResponse ApiClient::upload_inventory(HttpClient& client, const std::string& device_id,
                                         const json& snapshot) {
    return client.post("/inventory",
                       request_body({{"device_id", device_id}, {"snapshot", snapshot}}));
}

HttpResponse ApiClient::health(HttpClient& client) {
    return client.get("/health");
}

HttpResponse ApiClient::get_config(HttpClient& client) {
    return client.get("/config");
}

}  // namespace tq
