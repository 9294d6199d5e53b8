#pragma once

#include <string>
#include <vector>

namespace sw::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell involved) and collects its exit code and output.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments);

} // namespace sw::test
