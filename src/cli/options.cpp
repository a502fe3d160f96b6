#include "cli/options.h"

namespace tq::cli {

std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error) {
    Options options;
    for (const std::string& arg : args) {
        if (arg == "--pretty") {
            options.pretty = true;
        } else if (arg == "--updates") {
            options.updates = true;
        } else if (arg == "--no-hwid") {
            options.no_hwid = true;
        } else if (arg == "--hwid") {
            options.hwid_only = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
    }
    // --hwid prints the identity alone, so asking to leave it out or to add
    // updates to it cannot be honoured.
    if (options.hwid_only && (options.no_hwid || options.updates)) {
        error = "--hwid cannot be combined with --no-hwid or --updates";
        return std::nullopt;
    }
    return options;
}

std::string usage_text() {
    return "Usage: tessarine-inventory [--pretty] [--updates] [--no-hwid]\n"
           "       tessarine-inventory --hwid [--pretty]\n"
           "\n"
           "Prints this machine's inventory as JSON on standard output: operating\n"
           "system, board and firmware, processor, graphics adapters, disks, drivers,\n"
           "and its hardware identity with component hashes and fingerprint.\n"
           "\n"
           "  --pretty   indent the JSON by two spaces\n"
           "  --updates  include the installed updates\n"
           "  --no-hwid  leave the hardware identity empty\n"
           "  --hwid     print only the hardware identity, its hashes and fingerprint\n"
           "  --help     show this text\n";
}

}  // namespace tq::cli
