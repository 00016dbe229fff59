#include "input_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

// "size N", or what failed and why, as the tool would report it.
std::string measure(const std::string& name,
                    const platform::file_status& layout_file) {
  input_file file;
  file_failure failure = file.open(name.data(), name.size(), layout_file);
  std::uint64_t size = 0;
  if (!failure) failure = file.measure(&size);
  if (!failure) failure = file.close();
  if (!failure) return "size " + std::to_string(size);
  char text[256];
  return std::string(failure.what) + ": " +
         (failure.explanation
              ? failure.explanation
              : platform::describe(failure.reason, text, sizeof text));
}

TEST(InputFile, MeasuresFilesAndRefusesWhatCannotBeMeasured) {
  scratch_directory scratch;
  write_file("a.bin", "0123456789abcdef");
  write_file("empty.bin", "");
  write_file("crlf.bin", "\r\n\x1a\r\n");
  write_file(" blanks ", "xyz");
  make_sparse_file("three-gib.bin", 3ull << 30);
  make_sparse_file("past-32-bits.bin", (5ull << 30) + 7);
  ASSERT_EQ(0, mkdir("directory", 0755));
  ASSERT_EQ(0, mkfifo("fifo", 0644));  // no writer: opening must not wait
  ASSERT_EQ(0, symlink("a.bin", "link"));
  write_file("out.xnq", "v1.00\n");
  platform::file_status layout_file;
  {
    platform::file layout;
    ASSERT_FALSE(platform::open_for_reading("out.xnq", &layout));
    ASSERT_FALSE(platform::query_status(layout, &layout_file));
    ASSERT_FALSE(platform::close(layout));
  }

  const struct {
    std::string name;
    std::string expected;
  } cases[] = {
      {"a.bin", "size 16"},
      {"empty.bin", "size 0"},
      {"crlf.bin", "size 5"},
      {" blanks ", "size 3"},
      {"link", "size 16"},
      {"three-gib.bin", "size 3221225472"},
      {"past-32-bits.bin", "size 5368709127"},
      {"missing.bin", "cannot open: No such file or directory"},
      {"", "cannot open: empty file name"},
      {std::string("a.bin\0x", 7), "cannot open: file name holds a zero byte"},
      {"directory", "cannot measure: Is a directory"},
      {"fifo", "cannot measure: not a regular file or block device"},
      {"/dev/null", "cannot measure: not a regular file or block device"},
      {"out.xnq", "cannot measure: it is the layout file being written"},
      {"./out.xnq", "cannot measure: it is the layout file being written"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(measure(c.name, layout_file), c.expected);
  }
}

TEST(InputFile, TakesTheSizeWhenMeasuredNotWhenOpened) {
  scratch_directory scratch;
  write_file("growing.bin", "0123");
  input_file file;
  ASSERT_FALSE(file.open("growing.bin", 11, platform::file_status()));
  write_file("growing.bin", "0123456789");
  std::uint64_t size = 0;
  ASSERT_FALSE(file.measure(&size));
  EXPECT_EQ(size, 10u);
  EXPECT_FALSE(file.close());
}

}  // namespace
