#pragma once
// The desktop's icon theme, as every icon of the program is looked up in.

// Without a desktop session (the offscreen platform, a bare X server) Qt may
// know neither a theme nor where themes live: points Qt at the system's icon
// folders and picks an installed theme. Runs once; needs the GUI application.
void EnsureIconTheme();
