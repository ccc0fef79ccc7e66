// The lab edition run with a command (check, generate, capture, help): no window, and no window system needed.
#pragma once

// Runs the command of argv[1] ... on the lab the window would use, and returns its exit code.
int RunLabCommandLine(int argc, char* argv[]);
