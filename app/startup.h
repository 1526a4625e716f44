#pragma once
// Start-up and shutdown of the program.
#include <memory>

#include "app/app_state.h"

namespace zam {

// Creates the workspace and the lists, builds every window and applies the settings file of
// the current directory; the message loop is not run. The frame skin must be started.
std::unique_ptr<Application> StartApplication(ShellOpenProc shellOpen);

// The main window's close: writes the settings, releases the windows and the workspace and
// posts the quit message. Runs once, however often the close or the destruction comes.
void Shutdown(Application& app);

// Opens the file named first on the command line (as "Open with" and a file association
// start the program), exactly as the open command would.
void OpenCommandLineFile(Application& app, const wchar_t* commandLine);
// Posted to the application window at start: open the command line's file.
constexpr UINT kOpenCommandLineMessage = WM_APP + 1;

// The whole run: start-up, the message loop, the release of the skins. Returns the exit code.
int RunZamenor();

}  // namespace zam
