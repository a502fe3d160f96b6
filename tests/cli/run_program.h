#pragma once

// Runs a program of ours to completion and collects what it wrote.

#include <string>
#include <vector>

namespace tq::test {

struct ProgramRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

ProgramRun run_program(const std::string& program, const std::vector<std::string>& args);

// How the platform's shell names the program's path.
std::string native_program_path(const std::string& built_path);

}  // namespace tq::test
