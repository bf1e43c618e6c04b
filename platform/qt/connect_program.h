// Routes the window's events to the program's handlers.
#pragma once

#include "app/program.h"
#include "platform/qt/window.h"

namespace morvane {

// From now on every click, tick and label press of `window` runs the
// program's handler; both must outlive the window's event loop.
void ConnectProgram(QtWindow& window, Program& program);

}  // namespace morvane
