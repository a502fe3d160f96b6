// Any bytes in config.json must load without ending the program, and the
// loaded values must survive a save and a second load unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "state/config_store.h"

namespace {

std::string scratch(const char* name) {
    return "/tmp/tq-fuzz-config-" + std::to_string(::getpid()) + "-" + name;
}

// Removes the scratch files when the run ends.
struct Scratch {
    std::string input = scratch("in.json");
    std::string output = scratch("out.json");
    ~Scratch() {
        ::unlink(input.c_str());
        ::unlink(output.c_str());
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch files;
    const std::string& input = files.input;
    const std::string& output = files.output;
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const tq::AppConfig defaults{"https://default.example/", "", "Device"};
    const tq::AppConfig loaded = tq::ConfigStore::load(input, defaults);
    if (loaded.api_base_url.empty() || loaded.device_label.empty()) {
        std::abort();
    }
    if (!tq::ConfigStore::save(output, loaded) ||
        !(tq::ConfigStore::load(output, defaults) == loaded)) {
        std::abort();
    }
    return 0;
}
