#include <sys/wait.h>

#include "cli/run_program.h"

namespace tq::test {

int exit_code_of(int system_status) {
    return WIFEXITED(system_status) ? WEXITSTATUS(system_status) : -1;
}

std::string shell_command(const std::string& command) {
    return command;
}

std::string native_program_path(const std::string& built_path) {
    return built_path;
}

}  // namespace tq::test
