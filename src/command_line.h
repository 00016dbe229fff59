// The command line: "-v" alone asks for the version text; anything else,
// including no argument at all, runs the layout dialogue.
#ifndef QUILVEX_COMMAND_LINE_H_
#define QUILVEX_COMMAND_LINE_H_

#include "console_output.h"

// True when the one argument after the program's name is exactly "-v".
bool asks_for_version(int argc, const char* const* argv);

// Prints the four lines of the version text.
platform::error print_version_text(console_output& console);

#endif  // QUILVEX_COMMAND_LINE_H_
