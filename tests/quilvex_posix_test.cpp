// The built tool against what only POSIX systems have: FIFOs, character
// devices and a full disk (/dev/full).
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

const std::string first = first_prompt;
const std::string another = another_prompt;
const std::string next = next_prompt;
const std::string old_layout = "v1.00\n0x00000000,\"old\"\n0x00000001,\"\"\n";

TEST(QuilvexPosix, RefusesWhatIsNotAFileWithoutWaiting) {
  const struct {
    std::string input, output, errors;
  } cases[] = {
      {"a.bin\ny\nfifo\nn\n", first + another + next,
       "quilvex: cannot measure \"fifo\": not a regular file or block "
       "device\n"},
      {"/dev/null\nn\n", first,
       "quilvex: cannot measure \"/dev/null\": not a regular file or block "
       "device\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    scratch_directory scratch;
    write_file("a.bin", "0123456789abcdef");
    ASSERT_EQ(0, mkfifo("fifo", 0644));  // no writer: opening must not wait
    write_file("out.xnq", old_layout);
    run_result result = run_quilvex({}, c.input);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(result.errors, c.errors);
    EXPECT_EQ(read_file("out.xnq"), "");
  }
}

TEST(QuilvexPosix, ReportsALayoutFileThatCannotBeWritten) {
  scratch_directory scratch;
  write_file("a.bin", "0123456789abcdef");
  write_file("c.bin", std::string(291, 'c'));
  ASSERT_EQ(0, symlink("/dev/full", "out.xnq"));
  run_result result = run_quilvex({}, "a.bin\ny\nc.bin\nn\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, first + another + next + another);
  EXPECT_EQ(result.errors,
            "quilvex: cannot write \"out.xnq\": No space left on device\n");
}

TEST(QuilvexPosix, ReportsAConsoleThatCannotBeWritten) {
  scratch_directory scratch;
  write_file("a.bin", "0123456789abcdef");
  write_file("c.bin", std::string(291, 'c'));
  run_result result = run_quilvex({"-v"}, "", "/dev/full");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "quilvex: write error: No space left on device\n");
  EXPECT_FALSE(file_exists("out.xnq"));

  write_file("out.xnq", old_layout);
  result = run_quilvex({}, "a.bin\nn\n", "/dev/full");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.errors, "quilvex: write error: No space left on device\n");
  EXPECT_EQ(read_file("out.xnq"), "");
}

}  // namespace
