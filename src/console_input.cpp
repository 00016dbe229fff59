#include "console_input.h"

#include <algorithm>
#include <cstring>

console_input::console_input(int descriptor, console_output* console)
    : descriptor_(descriptor),
      console_(console),
      next_(buffer_),
      end_(buffer_) {}

bool console_input::refill() {
  // The buffer is empty, so the read may wait for the user: show
  // everything printed so far first, and before any message about the
  // input having ended.
  if (console_ && ending_ != ending::write_failed) {
    platform::error failed = console_->flush();
    if (failed) {
      ending_ = ending::write_failed;
      failure_ = failed;
      return false;
    }
  }
  if (ending_ != ending::none) return false;
  std::size_t count = 0;
  platform::error failed =
      platform::read_input(descriptor_, buffer_, sizeof buffer_, &count);
  if (failed) {
    ending_ = ending::read_failed;
    failure_ = failed;
    return false;
  }
  if (count == 0) {
    ending_ = ending::end_of_input;
    return false;
  }
  next_ = buffer_;
  end_ = buffer_ + count;
  return true;
}

int console_input::after_carriage_return() {
  // A CR LF pair is one newline, even when a read splits it. A CR at the
  // very end of the input, or before anything else, stays a CR.
  if (next_ == end_ && !refill()) return '\r';
  if (*next_ == '\n') {
    ++next_;
    return '\n';
  }
  return '\r';
}

bool console_input::read_reply(char* reply, std::size_t size,
                               std::size_t* length) {
  const std::size_t room = size - 1;
  std::size_t stored = 0;
  while (stored < room) {
    if (next_ == end_ && !refill()) break;
    // Plain bytes, up to a newline or a CR, are copied in one go: a
    // scripted run reads thousands of names.
    std::size_t available = std::min<std::size_t>(end_ - next_, room - stored);
    const void* newline = std::memchr(next_, '\n', available);
    std::size_t plain =
        newline ? static_cast<const char*>(newline) - next_ : available;
    if (const void* carriage_return = std::memchr(next_, '\r', plain))
      plain = static_cast<const char*>(carriage_return) - next_;
    std::memcpy(reply + stored, next_, plain);
    stored += plain;
    next_ += plain;
    if (stored == room || next_ == end_) continue;
    // A newline, or a CR that may begin a CR LF pair.
    int c = get();
    if (c == '\n') {
      reply[stored] = '\0';
      *length = stored;
      return true;
    }
    if (c == end_of_input) break;
    reply[stored++] = static_cast<char>(c);
  }
  reply[stored] = '\0';
  *length = stored;
  // A reply cut short by a failure is no reply.
  if (ending_ == ending::read_failed || ending_ == ending::write_failed)
    return false;
  return stored > 0;
}

int console_input::read_answer() {
  int answer = get();
  if (answer != end_of_input) get();
  return answer;
}
