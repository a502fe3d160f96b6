// tessarine-inventory: the machine's inventory on standard output, for
// administrators, scripts and support who want it without the window.
// Writes nothing to the application's log.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/options.h"
#include "hwid/hwid.h"
#include "inventory/inventory.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void write_out(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int run(const tq::cli::Options& options) {
    tq::json document;
    if (options.hwid_only) {
        document = tq::hwid_document(tq::collect_hwid());
    } else {
        tq::Inventory inventory = tq::collect_inventory(options.updates);
        if (!options.no_hwid) {
            inventory.hwid = tq::collect_hwid();
        }
        document = tq::inventory_document(inventory);
    }
    // Firmware and disks may hand us bytes that are not UTF-8; the output
    // shows them as U+FFFD rather than losing the whole document.
    const int indent = options.pretty ? 2 : -1;
    write_out(document.dump(indent, ' ', false, tq::json::error_handler_t::replace) + "\n");
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    tq::cli::prepare_console();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::string error;
    const auto options = tq::cli::parse_options(args, error);
    if (!options) {
        std::fprintf(stderr, "tessarine-inventory: %s\n%s", error.c_str(),
                     tq::cli::usage_text().c_str());
        return kExitUsage;
    }
    if (options->help) {
        write_out(tq::cli::usage_text());
        return kExitOk;
    }
    try {
        return run(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessarine-inventory: %s\n", e.what());
        return kExitFailure;
    }
}
