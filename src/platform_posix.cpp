#include "platform.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

static error last_error() {
  return from_errno(errno);
}

const char* describe(error reason, char* text, std::size_t size) {
  // strerror_r comes in two flavours; strerror is safe on one thread.
  const char* description = strerror(reason.errno_value);
  if (size > 0) {
    std::size_t length = strlen(description);
    if (length >= size) length = size - 1;
    memcpy(text, description, length);
    text[length] = '\0';
  }
  return text;
}

error open_for_reading(const char* name, file* opened) {
  // O_NONBLOCK keeps a FIFO without a writer from holding the tool up;
  // O_NOCTTY keeps a terminal device from becoming ours.
  int descriptor = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return last_error();
  *opened = descriptor;
  return error();
}

error query_status(file f, file_status* status) {
  struct stat info;
  if (fstat(static_cast<int>(f), &info) != 0) return last_error();
  if (S_ISREG(info.st_mode) || S_ISBLK(info.st_mode))
    status->kind = file_status::measurable;
  else if (S_ISDIR(info.st_mode))
    status->kind = file_status::directory;
  else
    status->kind = file_status::other;
  status->volume = static_cast<std::uint64_t>(info.st_dev);
  status->index = static_cast<std::uint64_t>(info.st_ino);
  return error();
}

error seek_to_end(file f, std::uint64_t* position) {
  off_t end = lseek(static_cast<int>(f), 0, SEEK_END);
  if (end < 0) return last_error();
  *position = static_cast<std::uint64_t>(end);
  return error();
}

error create_for_writing(const char* name, file* created) {
  int descriptor =
      ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
  if (descriptor < 0) return last_error();
  *created = descriptor;
  return error();
}

static error write_descriptor(int descriptor, const char* bytes,
                              std::size_t size) {
  while (size > 0) {
    ssize_t written = ::write(descriptor, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return last_error();
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return error();
}

error write_all(file f, const char* bytes, std::size_t size) {
  return write_descriptor(static_cast<int>(f), bytes, size);
}

error write_console(int descriptor, const char* bytes, std::size_t size) {
  return write_descriptor(descriptor, bytes, size);
}

error close_console(int descriptor) {
  return close(descriptor);
}

error truncate_to_empty(file f) {
  if (ftruncate(static_cast<int>(f), 0) != 0) return last_error();
  return error();
}

error close(file f) {
  if (::close(static_cast<int>(f)) != 0) return last_error();
  return error();
}

error read_input(int descriptor, char* buffer, std::size_t size,
                 std::size_t* count) {
  for (;;) {
    ssize_t got = ::read(descriptor, buffer, size);
    if (got >= 0) {
      *count = static_cast<std::size_t>(got);
      return error();
    }
    if (errno != EINTR) return last_error();
  }
}

bool is_terminal(int descriptor) {
  return isatty(descriptor) == 1;
}

}  // namespace platform
