#pragma once
// The program's icon: every window's title bar, the task bar and the window
// switcher show it.

#include <QIcon>

QIcon ProgramIcon();
