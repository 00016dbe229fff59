// The console input stream: standard input as one buffered byte stream that
// serves both kinds of read of the dialogue, a reply line and an answer
// character, so that what one read leaves unread is what the next one sees.
#ifndef QUILVEX_CONSOLE_INPUT_H_
#define QUILVEX_CONSOLE_INPUT_H_

#include <cstddef>

#include "console_output.h"
#include "platform.h"

class console_input {
 public:
  static constexpr int end_of_input = -1;

  // Reads from `descriptor`. Whatever has been printed to `console`
  // is flushed before a read that may wait, and only then: a user sees each
  // prompt before the tool waits, yet answers that are already buffered
  // cost no write per prompt.
  console_input(int descriptor, console_output* console);
  console_input(const console_input&) = delete;
  console_input& operator=(const console_input&) = delete;

  // The next character, with a CR LF pair read as one '\n'; end_of_input at
  // the end of the input or after a failure.
  int get() {
    if (next_ == end_ && !refill()) return end_of_input;
    unsigned char c = static_cast<unsigned char>(*next_++);
    if (c == '\r') return after_carriage_return();
    return c;
  }

  // Reads a reply into `reply`: characters up to and including the first
  // newline, but at most size - 1 of them, followed by a zero. A newline
  // read is replaced by that zero; the rest of a longer line stays unread.
  // Sets `length` to the reply's length without its newline. False when
  // not even one character could be read.
  bool read_reply(char* reply, std::size_t size, std::size_t* length);

  // Reads an answer: one character, then one more that is discarded
  // whatever it is (the answer line's newline). Gives the first, or
  // end_of_input when there is none.
  int read_answer();

  // Why get() gave end_of_input: a true end, a failed read of the input, or
  // a failed flush of the console output.
  enum class ending { none, end_of_input, read_failed, write_failed };
  ending why_ended() const { return ending_; }
  platform::error failure() const { return failure_; }

  // How many bytes are buffered but not yet read (for tests).
  std::size_t buffered() const {
    return static_cast<std::size_t>(end_ - next_);
  }

 private:
  bool refill();
  int after_carriage_return();

  int descriptor_;
  console_output* console_;
  ending ending_ = ending::none;
  platform::error failure_;
  char* next_;
  char* end_;
  char buffer_[32 * 1024];
};

#endif  // QUILVEX_CONSOLE_INPUT_H_
