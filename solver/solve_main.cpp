// zamenor-solve: see solve_tool.h.
#include <iostream>

#include "solver/solve_tool.h"

#ifdef _WIN32
#include <windows.h>

// Wide arguments, so that any file name the system can spell opens; the console shows the
// UTF-8 the tool writes.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return zam::RunSolveTool(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return zam::RunSolveTool(args, std::cout, std::cerr);
}
#endif
