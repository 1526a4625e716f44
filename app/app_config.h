#pragma once
// Addresses the program opens with the shell. The home page is set when the program is built
// (ZAMENOR_HOME_PAGE in CMake).
#include <string_view>

#ifndef ZAMENOR_HOME_PAGE
#define ZAMENOR_HOME_PAGE "https://zamenor.example/"
#endif

namespace zam {

// Relative: resolved against the current directory, where the build puts the guide.
inline constexpr std::string_view kHelpFile = "Help/index.htm";
inline constexpr std::string_view kHomePageAddress = ZAMENOR_HOME_PAGE;

}  // namespace zam
