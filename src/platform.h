// The few operating-system calls in which POSIX and Windows differ: reading
// standard input, opening and measuring an input file, writing the layout
// file. Each has one implementation per platform, in platform_posix.cpp and
// platform_win32.cpp; nothing else in the tool names a system call.
#ifndef QUILVEX_PLATFORM_H_
#define QUILVEX_PLATFORM_H_

#include <cstddef>
#include <cstdint>

namespace platform {

// Why a call failed, as the system gave it. Either a C library errno value
// or, on Windows, a system error code; both zero means success.
struct error {
  int errno_value = 0;
  unsigned long system_code = 0;

  explicit operator bool() const {
    return errno_value != 0 || system_code != 0;
  }
};

inline error from_errno(int value) {
  error reason;
  reason.errno_value = value;
  return reason;
}

// Writes the system's description of `reason` into `text` and returns it.
const char* describe(error reason, char* text, std::size_t size);

// An open file: a descriptor on POSIX, a HANDLE on Windows.
using file = std::intptr_t;
constexpr file no_file = -1;

// What a file is, enough to tell whether it can be measured and whether two
// open files are the same one.
struct file_status {
  enum kind_type { measurable, directory, other } kind = other;
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
};

inline bool same_file(const file_status& a, const file_status& b) {
  return a.volume == b.volume && a.index == b.index;
}

// Opens a named file for reading in binary mode, without ever blocking (a
// FIFO with no writer opens at once).
error open_for_reading(const char* name, file* opened);

// One status query on an open file.
error query_status(file f, file_status* status);

// Seeks to the end of a file and gives the position: its size in bytes.
error seek_to_end(file f, std::uint64_t* position);

// Creates a file for writing in binary mode, or empties it if it exists.
error create_for_writing(const char* name, file* created);

// Writes all `size` bytes or fails.
error write_all(file f, const char* bytes, std::size_t size);

// Cuts a file open for writing back to zero bytes.
error truncate_to_empty(file f);

error close(file f);

// The descriptor of standard input.
constexpr int standard_input = 0;

// Reads what is available from an input descriptor, blocking only while
// nothing is. A read that gives 0 bytes is the end of the input.
error read_input(int descriptor, char* buffer, std::size_t size,
                 std::size_t* count);

// The descriptor of standard output.
constexpr int standard_output = 1;

// Writes all of `size` bytes to a console descriptor (standard output),
// each LF as the platform's line ending.
error write_console(int descriptor, const char* bytes, std::size_t size);

error close_console(int descriptor);

// True when the descriptor is an interactive terminal or console.
bool is_terminal(int descriptor);

}  // namespace platform

#endif  // QUILVEX_PLATFORM_H_
