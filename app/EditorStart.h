#pragma once

#include <functional>

class QWidget;

namespace app {

// Runs the editor program: answers --help, --version and usage errors without a window,
// otherwise sets up the application, shows the editor window on the command line's pilot
// and runs the event loop until the window closes. Returns the exit status.
//
// `started`, when given, runs once the window has been shown and its start-up activation
// (the load of the command-line pilot) is done; the start-up benchmark quits there.
[[nodiscard]] int runEditor(int argc, char** argv,
                            const std::function<void(QWidget& window)>& started = {});

}  // namespace app
