#pragma once
// The command-line tool `zamenor-solve`: reads a cryptogram, a result file or any Russian text
// as the program does, completes its key and writes a result file or prints the plaintext; or
// encrypts a plaintext into a cryptogram and its answer.
#include <filesystem>
#include <ostream>
#include <vector>

namespace zam {

inline constexpr int kToolUsageError = 2;  // exit code for bad arguments; 1 is for bad files

// `args` are the arguments after the program name. Everything written is UTF-8. Returns the
// process's exit code.
int RunSolveTool(const std::vector<std::filesystem::path>& args, std::ostream& out,
                 std::ostream& err);

}  // namespace zam
