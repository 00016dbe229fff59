#include "console_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "test_support.h"

namespace {

TEST(ConsoleOutput, WritesEverythingInOrderThroughItsBuffer) {
  scratch_directory scratch;
  int descriptor = open("console", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(descriptor, 0);
  console_output console(descriptor);
  std::string expected;
  // Small texts, and one larger than the whole buffer.
  for (int i = 0; i < 3000; ++i) {
    std::string text = "prompt " + std::to_string(i) + "? ";
    ASSERT_FALSE(console.print(text));
    expected += text;
    if (i == 1000) {
      std::string large(100000, 'L');
      ASSERT_FALSE(console.print(large));
      expected += large;
    }
  }
  EXPECT_FALSE(console.close());
  EXPECT_EQ(read_file("console"), expected);
}

TEST(ConsoleOutput, ReportsWhyItCouldNotWrite) {
  int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  console_output console(full);
  EXPECT_FALSE(console.print("XNQ successfully written.\n"));  // buffered
  EXPECT_EQ(console.close().errno_value, ENOSPC);

  int closed = dup(2);
  ASSERT_GE(closed, 0);
  ASSERT_EQ(0, close(closed));
  console_output nowhere(closed);
  EXPECT_FALSE(nowhere.print("text"));
  EXPECT_EQ(nowhere.flush().errno_value, EBADF);
}

}  // namespace
