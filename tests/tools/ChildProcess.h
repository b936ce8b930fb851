// Runs a program of the build as a child process and collects what it wrote.
#pragma once

#include <string>
#include <vector>

namespace qel::test
{

struct ProcessOutcome
{
    int exitCode = -1;
    std::string output; // stdout
    std::string errors; // stderr
};

// Starts program with arguments (each quoted as needed), in workingFolder
// when given, waits for it and returns its exit code and output. exitCode
// stays -1 when the program could not be started.
ProcessOutcome RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder = std::string());

} // namespace qel::test
