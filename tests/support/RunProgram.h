#pragma once

#include <string>
#include <vector>

namespace sw::test {

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments (no shell involved) and collects its exit code and output. The
// program inherits this one's environment, with the "NAME=value" entries of `environment`
// added or replacing those of the same name.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

} // namespace sw::test
