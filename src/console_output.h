// The console output stream: standard output through a buffer of the tool's
// own. Text waits in the buffer until the console input stream is about to
// wait for the user, or a failure is about to be reported, so a scripted
// run pays no write per prompt.
#ifndef QUILVEX_CONSOLE_OUTPUT_H_
#define QUILVEX_CONSOLE_OUTPUT_H_

#include <cstddef>
#include <string_view>

#include "platform.h"

class console_output {
 public:
  explicit console_output(int descriptor);
  console_output(const console_output&) = delete;
  console_output& operator=(const console_output&) = delete;

  // Each line break in `text` is written as the platform's line ending.
  platform::error print(std::string_view text);
  // Writes out what is buffered.
  platform::error flush();
  // Flushes and closes the descriptor: a write error that the system
  // reports only then is caught too.
  platform::error close();

 private:
  int descriptor_;
  std::size_t used_ = 0;
  char buffer_[32 * 1024];
};

#endif  // QUILVEX_CONSOLE_OUTPUT_H_
