// quilvex: lists files with the byte offset at which each begins when they
// are laid end to end, and the total, in out.xnq.
#include "command_line.h"
#include "console_input.h"
#include "diagnostic.h"
#include "layout_dialogue.h"
#include "platform.h"

int main(int argc, char** argv) {
  int status = 0;
  platform::error failed;
  console_output console(platform::standard_output);
  if (asks_for_version(argc, argv)) {
    failed = print_version_text(console);
  } else {
    console_input input(platform::standard_input, &console);
    bool at_terminal = platform::is_terminal(platform::standard_input);
    status = run_layout_dialogue(input, console, at_terminal);
  }
  // Output that cannot be written is a failure, as in cat(1); report it
  // once, and not again after the dialogue has reported it.
  platform::error close_failed = console.close();
  if (!failed) failed = close_failed;
  if (failed && status == 0)
    status = report_failure(console, "write error", failed);
  return status;
}
