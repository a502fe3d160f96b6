#pragma once

// The command line of tessarine-inventory.

#include <optional>
#include <string>
#include <vector>

namespace tq::cli {

struct Options {
    bool pretty = false;
    bool updates = false;
    bool no_hwid = false;
    bool hwid_only = false;
    bool help = false;
};

// The options, or nothing with `error` set for an unknown option or a
// combination that contradicts itself.
std::optional<Options> parse_options(const std::vector<std::string>& args, std::string& error);

// The usage text, ending in a line feed.
std::string usage_text();

}  // namespace tq::cli
