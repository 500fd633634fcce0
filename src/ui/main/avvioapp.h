#pragma once

// The executable's entry: the application object, start-up, the main window
// and the event loop. Returns the process exit code.
int AvviaArvo(int argc, char *argv[]);
