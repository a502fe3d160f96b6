// One small request through the bridge with a registered handler: the cost
// the page pays per call before any handler work.
#include <benchmark/benchmark.h>

#include "ui/bridge.h"

namespace {

void BM_HandleMessage(benchmark::State& state) {
    tq::ui::Bridge bridge;
    bridge.add_method("app.info", [](const tq::json&) {
        return tq::json{{"name", "Tessarine Software"}, {"version", "0.2.0"}};
    });
    const std::string request = R"({"id":7,"method":"app.info","params":{}})";
    for (auto _ : state) {
        benchmark::DoNotOptimize(bridge.handle_message(request));
    }
}
BENCHMARK(BM_HandleMessage);

void BM_HandleWrappedMessage(benchmark::State& state) {
    tq::ui::Bridge bridge;
    bridge.add_method("app.info", [](const tq::json&) { return tq::json{{"ok", true}}; });
    const std::string request = R"("{\"id\":7,\"method\":\"app.info\"}")";
    for (auto _ : state) {
        benchmark::DoNotOptimize(bridge.handle_message(request));
    }
}
BENCHMARK(BM_HandleWrappedMessage);

}  // namespace
