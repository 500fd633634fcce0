#pragma once

// The executable's entry: the application object, start-up, the main window
// and the event loop. Returns the process exit code.
int AvviaArvo(int argc, char *argv[]);

// What the application gets before any window opens: its name and the
// program's icon for every window.
void PreparaApplicazione();
