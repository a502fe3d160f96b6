#include <algorithm>

#include "cli/run_program.h"

namespace tq::test {

// cmd.exe hands back the program's own exit code.
int exit_code_of(int system_status) {
    return system_status;
}

// cmd.exe drops the first and the last quote of a command line that starts
// with one; an outer pair keeps the quoted paths intact.
std::string shell_command(const std::string& command) {
    return "\"" + command + "\"";
}

// The build names its outputs with the build machine's paths; under Wine a
// path from the root is reached through drive Z:.
std::string native_program_path(const std::string& built_path) {
    std::string path = built_path;
    if (!path.empty() && path.front() == '/') {
        path = "Z:" + path;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace tq::test
