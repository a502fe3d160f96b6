#include "cli/run_program.h"

#include <cstdlib>

#include "support/test_support.h"

namespace tq::test {

int exit_code_of(int system_status);
std::string shell_command(const std::string& command);

ProgramRun run_program(const std::string& program, const std::vector<std::string>& args) {
    TempDir dir;
    const std::string out_path = native_program_path((dir / "out.txt").string());
    const std::string err_path = native_program_path((dir / "err.txt").string());
    // Built by appending: GCC 12 misreads chains of string concatenation
    // here as overlapping copies (-Wrestrict).
    std::string command;
    command.append("\"").append(native_program_path(program)).append("\"");
    for (const std::string& arg : args) {
        command.append(" ").append(arg);
    }
    command.append(" >\"").append(out_path).append("\" 2>\"").append(err_path).append("\"");
    ProgramRun run;
    run.exit_code = exit_code_of(std::system(shell_command(command).c_str()));
    run.out = read_file(dir / "out.txt");
    run.err = read_file(dir / "err.txt");
    return run;
}

}  // namespace tq::test
