#include "console_output.h"

#include <cstring>

console_output::console_output(int descriptor) : descriptor_(descriptor) {}

platform::error console_output::print(std::string_view text) {
  if (used_ + text.size() > sizeof buffer_) {
    platform::error failed = flush();
    if (failed) return failed;
    if (text.size() > sizeof buffer_)
      return platform::write_console(descriptor_, text.data(), text.size());
  }
  std::memcpy(buffer_ + used_, text.data(), text.size());
  used_ += text.size();
  return platform::error();
}

platform::error console_output::flush() {
  std::size_t size = used_;
  used_ = 0;
  if (size == 0) return platform::error();
  return platform::write_console(descriptor_, buffer_, size);
}

platform::error console_output::close() {
  platform::error failed = flush();
  platform::error close_failed = platform::close_console(descriptor_);
  return failed ? failed : close_failed;
}
