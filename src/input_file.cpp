#include "input_file.h"

#include <cerrno>
#include <cstring>

static file_failure failed(const char* what, const char* explanation) {
  file_failure failure;
  failure.what = what;
  failure.explanation = explanation;
  return failure;
}

static file_failure failed(const char* what, platform::error reason) {
  file_failure failure;
  failure.what = what;
  failure.reason = reason;
  return failure;
}

input_file::~input_file() {
  // Still open only when the dialogue has failed and reported it.
  if (file_ != platform::no_file) (void)platform::close(file_);
}

file_failure input_file::open(const char* name, std::size_t length,
                              const platform::file_status& layout_file) {
  if (length == 0) return failed("cannot open", "empty file name");
  // The system would stop at the zero and open some other file.
  if (std::memchr(name, '\0', length))
    return failed("cannot open", "file name holds a zero byte");

  platform::file opened;
  platform::error reason = platform::open_for_reading(name, &opened);
  if (reason) return failed("cannot open", reason);

  platform::file_status status;
  reason = platform::query_status(opened, &status);
  const char* refusal = nullptr;
  if (!reason && status.kind == platform::file_status::directory)
    reason = platform::from_errno(EISDIR);
  else if (!reason && status.kind != platform::file_status::measurable)
    refusal = "not a regular file or block device";
  else if (!reason && platform::same_file(status, layout_file))
    refusal = "it is the layout file being written";
  if (reason || refusal) {
    (void)platform::close(opened);  // the refusal is what gets reported
    return refusal ? failed("cannot measure", refusal)
                   : failed("cannot measure", reason);
  }
  file_ = opened;
  return file_failure();
}

file_failure input_file::measure(std::uint64_t* size) {
  platform::error reason = platform::seek_to_end(file_, size);
  if (reason) return failed("cannot measure", reason);
  return file_failure();
}

file_failure input_file::close() {
  platform::file closing = file_;
  file_ = platform::no_file;
  platform::error reason = platform::close(closing);
  if (reason) return failed("cannot close", reason);
  return file_failure();
}
