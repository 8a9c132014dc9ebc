#pragma once

#include <QIcon>

// The program's icon for its windows: the icon theme's "kvt-program" where it is installed,
// else the same picture (a stepper motor seen from its shaft end, with the staircase of its
// steps, as kvt-program.svg draws it) painted here, so that a build shows it too.
QIcon ProgramIcon();
