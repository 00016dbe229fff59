// The built Windows program against what only Windows has: device names
// and named pipes, and files that text mode would change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

const std::string first = first_prompt;
const std::string another = another_prompt;
const std::string next = next_prompt;
const std::string old_layout = "v1.00\n0x00000000,\"old\"\n0x00000001,\"\"\n";

TEST(QuilvexWin32, RefusesDevicesAndPipesWithoutWaiting) {
  scratch_directory scratch;
  HANDLE pipe =
      CreateNamedPipeA("\\\\.\\pipe\\quilvex-test", PIPE_ACCESS_DUPLEX,
                       PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  const struct {
    std::string name;
  } cases[] = {{"NUL"}, {"\\\\.\\pipe\\quilvex-test"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    write_file("out.xnq", old_layout);
    run_result result = run_quilvex({}, c.name + "\nn\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, first);
    EXPECT_EQ(result.errors,
              on_console("quilvex: cannot measure \"" + c.name +
                         "\": not a regular file or block device\n"));
    EXPECT_EQ(read_file("out.xnq"), "");
  }
  CloseHandle(pipe);
}

// A measured file is read in binary mode: its CR LF pairs and Control-Z
// bytes all count.
TEST(QuilvexWin32, MeasuresTheExactBytesOfAFile) {
  scratch_directory scratch;
  write_file("text.bin", "a\r\nb\r\n\x1a\x1a\r\nc");  // 11 bytes
  write_file("a.bin", "0123456789abcdef");
  run_result result = run_quilvex({}, "text.bin\r\ny\r\na.bin\r\nn\r\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(read_file("out.xnq"),
            "v1.00\n0x00000000,\"text.bin\"\n0x0000000b,\"a.bin\"\n"
            "0x0000001b,\"\"\n");
}

}  // namespace
