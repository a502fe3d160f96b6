// 1,000 sequential GETs through HttpClient to a server on loopback, with
// and without connection reuse. Reports the median time of one request.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "net/http_client.h"

namespace {

constexpr int kRequests = 1000;

class Server {
  public:
    Server() {
        server_.set_keep_alive_max_count(kRequests * 10);
        // Without it the answer's second write waits for a delayed ACK.
        server_.set_tcp_nodelay(true);
        server_.Get("/api/health", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(R"({"status":"ok"})", "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~Server() {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/api"; }

  private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

void run(benchmark::State& state, bool reuse) {
    Server server;
    tq::HttpClientOptions options;
    options.reuse_connections = reuse;
    tq::HttpClient client(server.url(), options);
    std::vector<double> micros;
    micros.reserve(kRequests);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const tq::HttpResponse response = client.get("/health");
        const auto stop = std::chrono::steady_clock::now();
        if (response.status != 200) {
            state.SkipWithError(("request failed: " + response.error).c_str());
            break;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
    }
    if (!micros.empty()) {
        std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
        state.counters["median_us"] = micros[micros.size() / 2];
    }
}

void BM_GetWithReuse(benchmark::State& state) {
    run(state, true);
}
BENCHMARK(BM_GetWithReuse)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

void BM_GetWithoutReuse(benchmark::State& state) {
    run(state, false);
}
BENCHMARK(BM_GetWithoutReuse)->Iterations(kRequests)->Unit(benchmark::kMicrosecond);

}  // namespace
