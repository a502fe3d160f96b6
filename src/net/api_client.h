#pragma once

// One operation per backend endpoint. Each builds its body (compact JSON,
// keys in sorted order, raw UTF-8), sends it through the client and returns
// the answer unchanged.

#include <string>

#include "net/envelope.h"
#include "net/http_client.h"

namespace tq {

class ApiClient {
  public:
    static HttpResponse register_account(HttpClient& client, const std::string& email,
                                         const std::string& password);
    static HttpResponse login(HttpClient& client, const std::string& email,
                              const std::string& password);
    static HttpResponse refresh(HttpClient& client, const std::string& refresh_token);
    static HttpResponse register_device(HttpClient& client, const json& components,
                                        const std::string& app_version, const std::string& label);
    static HttpResponse list_devices(HttpClient& client);
    static HttpResponse upload_inventory(HttpClient& client, const std::string& device_id,
                                         const json& snapshot);
    static HttpResponse health(HttpClient& client);
    static HttpResponse get_config(HttpClient& client);
};

// The compact body text of a request.
std::string request_body(const json& body);

}  // namespace tq
