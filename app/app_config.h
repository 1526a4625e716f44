#pragma once
// Addresses the program opens with the shell and the about box's lines, set when the program
// is built (ZAMENOR_HOME_PAGE, ZAMENOR_LICENCE, ZAMENOR_DEVELOPER, ZAMENOR_FOOTER in CMake).
#include <string_view>

#ifndef ZAMENOR_HOME_PAGE
#define ZAMENOR_HOME_PAGE "https://zamenor.example/"
#endif

#ifndef ZAMENOR_LICENCE
#define ZAMENOR_LICENCE "MIT"
#endif
#ifndef ZAMENOR_DEVELOPER
#define ZAMENOR_DEVELOPER "Команда Zamenor"
#endif
#ifndef ZAMENOR_FOOTER
#define ZAMENOR_FOOTER "Zamenor, 2026"
#endif

namespace zam {

// Relative: resolved against the current directory, where the build puts the guide.
inline constexpr std::string_view kHelpFile = "Help/index.htm";
inline constexpr std::string_view kHomePageAddress = ZAMENOR_HOME_PAGE;
inline constexpr std::string_view kLicence = ZAMENOR_LICENCE;
inline constexpr std::string_view kDeveloper = ZAMENOR_DEVELOPER;
inline constexpr std::string_view kFooter = ZAMENOR_FOOTER;

}  // namespace zam
