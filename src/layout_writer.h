// The layout file writer: creates "out.xnq" and appends its lines, exactly as
// it is given them. It computes nothing; the dialogue hands it every offset,
// name and total.
//
//   v1.00                 the version line
//   0x00000000,"a.bin"    an entry line per file: its offset and its name
//   0x00000010,""         the end line: the total
//
// Every line ends in a single LF. Until close() has succeeded the file is
// not a layout: a writer destroyed before that, after any failure, leaves the
// file empty, so that no reader takes a partial list for a complete one.
#ifndef QUILVEX_LAYOUT_WRITER_H_
#define QUILVEX_LAYOUT_WRITER_H_

#include <cstddef>
#include <cstdint>

#include "platform.h"

class layout_writer {
 public:
  static constexpr const char* file_name = "out.xnq";
  static constexpr std::size_t longest_name = 79;

  layout_writer() = default;
  layout_writer(const layout_writer&) = delete;
  layout_writer& operator=(const layout_writer&) = delete;
  ~layout_writer();

  // Creates the file in the current directory, or empties it if it exists.
  platform::error create();
  platform::error write_version_line();
  // `name` is `length` bytes, at most longest_name, written unchanged.
  platform::error write_entry_line(std::uint32_t offset, const char* name,
                                   std::size_t length);
  platform::error write_end_line(std::uint32_t total);
  // Writes out what is buffered and closes the file: only now is it whole.
  platform::error close();

  // What the created file is, so that it is not measured as an input file.
  const platform::file_status& status() const { return status_; }

 private:
  platform::error append(const char* bytes, std::size_t size);
  platform::error write_number_line(std::uint32_t number, const char* name,
                                    std::size_t length);
  platform::error flush();

  platform::file file_ = platform::no_file;
  platform::file_status status_;
  std::size_t used_ = 0;
  char buffer_[32 * 1024];
};

#endif  // QUILVEX_LAYOUT_WRITER_H_
