// Measuring an input file. A file is opened when its name is read and
// measured when the next answer comes, so it stays open in between; its
// content is never read: its size is its end position.
#ifndef QUILVEX_INPUT_FILE_H_
#define QUILVEX_INPUT_FILE_H_

#include <cstddef>
#include <cstdint>

#include "diagnostic.h"
#include "platform.h"

class input_file {
 public:
  input_file() = default;
  input_file(const input_file&) = delete;
  input_file& operator=(const input_file&) = delete;
  ~input_file();

  // Opens the file that a reply of `length` bytes names and checks that it
  // can be measured: a regular file or a block device, and not the layout
  // file that is being written (whose size is not known until the end).
  file_failure open(const char* name, std::size_t length,
                    const platform::file_status& layout_file);

  // Seeks to the end and gives the position: the size in bytes.
  file_failure measure(std::uint64_t* size);

  file_failure close();

 private:
  platform::file file_ = platform::no_file;
};

#endif  // QUILVEX_INPUT_FILE_H_
