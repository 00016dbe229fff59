// quilvex: lists files with the byte offset at which each begins when they
// are laid end to end, and the total, in out.xnq.
#include <cerrno>
#include <cstdio>

#include "command_line.h"
#include "console_input.h"
#include "diagnostic.h"
#include "layout_dialogue.h"
#include "platform.h"

int main(int argc, char** argv) {
  int status = 0;
  char output_buffer[64 * 1024];
  if (asks_for_version(argc, argv)) {
    if (!print_version_text(stdout))
      status = report_failure("write error", platform::from_errno(errno));
  } else {
    // Prompts are flushed before every read that may wait, so a large
    // buffer costs a user nothing and spares a script a write per page.
    // stdout is closed below, before the buffer goes out of scope.
    if (std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer))
      return report_failure("cannot buffer standard output");
    console_input input(platform::standard_input, stdout);
    bool at_terminal = platform::is_terminal(platform::standard_input);
    status = run_layout_dialogue(input, stdout, at_terminal);
  }
  // Output that cannot be written is a failure, as in cat(1); report it
  // once, and not twice after the dialogue has reported it already.
  if (std::fclose(stdout) != 0 && status == 0)
    status = report_failure("write error", platform::from_errno(errno));
  return status;
}
