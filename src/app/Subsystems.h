#pragma once
// The composition root: the subsystems of the main window, in the order they are made. The program,
// the macro runner and the tests make the window with this list; a new subsystem adds one line.

#include "shell/Subsystem.h"

namespace mv {

SubsystemList AllSubsystems();

}  // namespace mv
