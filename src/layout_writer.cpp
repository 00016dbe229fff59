#include "layout_writer.h"

#include <cstring>

layout_writer::~layout_writer() {
  if (file_ == platform::no_file) return;
  // Not closed, so the dialogue failed: leave an empty file, not a partial
  // list. Where the file cannot be cut (a device) there is nothing more to
  // do; the failure has been reported already.
  (void)platform::truncate_to_empty(file_);
  (void)platform::close(file_);
}

platform::error layout_writer::create() {
  platform::error failed = platform::create_for_writing(file_name, &file_);
  if (failed) return failed;
  return platform::query_status(file_, &status_);
}

platform::error layout_writer::write_version_line() {
  return append("v1.00\n", 6);
}

platform::error layout_writer::write_entry_line(std::uint32_t offset,
                                                const char* name,
                                                std::size_t length) {
  return write_number_line(offset, name, length);
}

platform::error layout_writer::write_end_line(std::uint32_t total) {
  return write_number_line(total, "", 0);
}

platform::error layout_writer::write_number_line(std::uint32_t number,
                                                 const char* name,
                                                 std::size_t length) {
  // 0x%08x,"%s"\n, formatted by hand straight into the buffer: this runs
  // once per file.
  static const char digits[] = "0123456789abcdef";
  if (length > longest_name) length = longest_name;
  std::size_t size = 14 + length;
  if (used_ + size > sizeof buffer_) {
    platform::error failed = flush();
    if (failed) return failed;
  }
  char* line = buffer_ + used_;
  line[0] = '0';
  line[1] = 'x';
  for (int i = 9; i >= 2; --i) {
    line[i] = digits[number & 0xf];
    number >>= 4;
  }
  line[10] = ',';
  line[11] = '"';
  std::memcpy(line + 12, name, length);
  line[12 + length] = '"';
  line[13 + length] = '\n';
  used_ += size;
  return platform::error();
}

platform::error layout_writer::append(const char* bytes, std::size_t size) {
  if (used_ + size > sizeof buffer_) {
    platform::error failed = flush();
    if (failed) return failed;
  }
  std::memcpy(buffer_ + used_, bytes, size);
  used_ += size;
  return platform::error();
}

platform::error layout_writer::flush() {
  platform::error failed = platform::write_all(file_, buffer_, used_);
  used_ = 0;
  return failed;
}

platform::error layout_writer::close() {
  platform::error failed = flush();
  if (failed) return failed;
  platform::file closing = file_;
  file_ = platform::no_file;
  failed = platform::close(closing);
  if (failed) {
    // A failed close may mean lost data (NFS, quotas): the file is not a
    // layout. Empty it by name as the descriptor is gone.
    platform::file reopened;
    if (!platform::create_for_writing(file_name, &reopened))
      (void)platform::close(reopened);
  }
  return failed;
}
