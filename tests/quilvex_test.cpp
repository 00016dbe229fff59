// The built tool, run as a user or a script runs it: arguments, piped
// answers, and what it leaves on the console and in out.xnq.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::string first = first_prompt;
const std::string another = another_prompt;
const std::string next = next_prompt;
const std::string closing =
    std::string("XNQ successfully written.") + console_newline;
const std::string newline = console_newline;
const std::string version_text =
    "Quilvex version 1.0.0.0  Copyright (c) 2026 The Quilvex authors" +
    newline + "Function: Creates xnq file." + newline + "Options:" + newline +
    "\t-v\tPrints the version number." + newline;
// Blanks, a comma and a percent sign, and double quotes where the system
// allows them in a file name.
const std::string odd_name = odd_file_name;
const std::string old_layout = "v1.00\n0x00000000,\"old\"\n0x00000001,\"\"\n";
const std::string name79(79, 'l');

// The files that every dialogue test can name.
void make_fixture_files() {
  write_file("a.bin", "0123456789abcdef");  // 16 bytes
  write_file("empty.bin", "");
  write_file("c.bin", std::string(291, 'c'));
  write_file("b", "bb");
  write_file("s", "sss");
  write_file(" a.bin ", "12345");
  write_file(odd_name, "1234567");
  write_file(name79, std::string(79, '7'));
  make_sparse_file("big", 3ull << 30);          // 3 GiB, taking no room
  make_sparse_file("max", 0xffffffffull - 16);  // with a.bin, the most
  make_directory("dir");
}

void make_fixture() {
  ASSERT_NO_FATAL_FAILURE(make_fixture_files());
}

struct dialogue_case {
  const char* what;
  std::string input;
  std::string output;
  std::string layout;
};

const dialogue_case dialogue_cases[] = {
    {"one file", "a.bin\nn\n", first + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"\"\n"},
    {"three files, one empty", "a.bin\ny\nempty.bin\ny\nc.bin\nn\n",
     first + another + next + another + next + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"empty.bin\"\n"
     "0x00000010,\"c.bin\"\n0x00000133,\"\"\n"},
    {"the same file twice counts twice", "a.bin\ny\na.bin\nn\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"a.bin\"\n0x00000020,\"\"\n"},
    {"yes names the file s", "a.bin\nyes\nn\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"s\"\n0x00000013,\"\"\n"},
    {"N is not n", "a.bin\nN\nb\nno\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"b\"\n0x00000012,\"\"\n"},
    {"an empty answer line swallows a character", "a.bin\n\nxb\nn\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"b\"\n0x00000012,\"\"\n"},
    {"a 79-character name's newline is the next answer", name79 + "\nxb\nn\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"" + name79 +
         "\"\n0x0000004f,\"b\"\n0x00000051,\"\"\n"},
    {"an 81-character line whose 80th character is n", name79 + "nx\n",
     first + another + closing,
     "v1.00\n0x00000000,\"" + name79 + "\"\n0x0000004f,\"\"\n"},
    {"blanks, quotes, a comma and a percent sign stay in names",
     " a.bin \ny\n" + odd_name + "\nn\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\" a.bin \"\n0x00000005,\"" + odd_name +
         "\"\n0x0000000c,\"\"\n"},
    {"an answer script with CR LF line ends", "a.bin\r\ny\r\nc.bin\r\nn\r\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"c.bin\"\n0x00000133,\"\"\n"},
    {"an n at the very end needs no newline", "a.bin\nn",
     first + another + closing,
     "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"\"\n"},
    {"one file of 3 GiB", "big\nn\n", first + another + closing,
     "v1.00\n0x00000000,\"big\"\n0xc0000000,\"\"\n"},
    {"a total of exactly 0xffffffff", "max\ny\na.bin\nn\n",
     first + another + next + another + closing,
     "v1.00\n0x00000000,\"max\"\n0xffffffef,\"a.bin\"\n0xffffffff,\"\"\n"},
};

TEST(Quilvex, WritesTheLayoutOfTheNamedFiles) {
  for (const dialogue_case& c : dialogue_cases) {
    SCOPED_TRACE(c.what);
    scratch_directory scratch;
    make_fixture();
    write_file("out.xnq", old_layout);
    run_result result = run_quilvex({}, c.input);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(read_file("out.xnq"), c.layout);
  }
}

TEST(Quilvex, RunsTheDialogueForAnyCommandLineButDashVAlone) {
  const std::vector<std::vector<std::string>> dialogue_lines = {
      {}, {"-V"}, {"-vv"}, {"-"}, {"-v", "x"}, {"x", "-v"}, {"v"}};
  for (const auto& arguments : dialogue_lines) {
    SCOPED_TRACE(arguments.empty() ? "no arguments" : arguments[0]);
    scratch_directory scratch;
    make_fixture();
    run_result result = run_quilvex(arguments, "a.bin\nn\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, first + another + closing);
    EXPECT_EQ(read_file("out.xnq"),
              "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"\"\n");
  }
}

TEST(Quilvex, PrintsTheVersionTextAndTouchesNoFile) {
  scratch_directory scratch;
  run_result result = run_quilvex({"-v"}, "a.bin\nn\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, version_text);
  EXPECT_EQ(result.errors, "");
  EXPECT_FALSE(file_exists("out.xnq"));

  write_file("out.xnq", old_layout);
  result = run_quilvex({"-v"}, "");
  EXPECT_EQ(result.output, version_text);
  EXPECT_EQ(read_file("out.xnq"), old_layout);
}

struct failure_case {
  const char* what;
  std::string input;
  std::string output;
  std::string errors;
};

const failure_case failure_cases[] = {
    {"a missing first file", "missing\nn\n", first,
     "quilvex: cannot open \"missing\": No such file or directory\n"},
    {"a missing later file", "a.bin\ny\nmissing\nn\n", first + another + next,
     "quilvex: cannot open \"missing\": No such file or directory\n"},
    {"a directory", "dir\nn\n", first,
     "quilvex: cannot measure \"dir\": Is a directory\n"},
    {"the layout file itself", "out.xnq\nn\n", first,
     "quilvex: cannot measure \"out.xnq\": it is the layout file being "
     "written\n"},
    {"an empty reply", "\nn\n", first,
     "quilvex: cannot open \"\": empty file name\n"},
    {"a blank then n answers, and the rest of the line is the next name",
     "a.bin\n n\n", first + another + next,
     "quilvex: cannot open \"\": empty file name\n"},
    {"a name with a zero byte", std::string("a.bin\0x\nn\n", 11), first,
     "quilvex: cannot open \"a.bin\": file name holds a zero byte\n"},
    {"3 GiB twice", "big\ny\nbig\nn\n", first + another + next + another,
     "quilvex: cannot list \"big\": the total would pass 4 GiB, the limit "
     "of the layout format\n"},
    {"one byte past 0xffffffff", "max\ny\na.bin\ny\nb\nn\n",
     first + another + next + another + next + another,
     "quilvex: cannot list \"b\": the total would pass 4 GiB, the limit "
     "of the layout format\n"},
    {"the input ends at the first name", "", first,
     "quilvex: unexpected end of input\n"},
    {"the input ends at an answer", "a.bin\n", first + another,
     "quilvex: unexpected end of input\n"},
    {"the input ends inside the first name", "a.bin", first + another,
     "quilvex: unexpected end of input\n"},
    {"the input ends at a later name", "a.bin\ny\n", first + another + next,
     "quilvex: unexpected end of input\n"},
    {"the input ends at a later answer", "a.bin\ny\nc.bin\n",
     first + another + next + another, "quilvex: unexpected end of input\n"},
};

// A failure is one line on standard error and status 1, and it leaves
// out.xnq empty, whatever it held, and no other file behind.
TEST(Quilvex, FailsWithoutLeavingALayout) {
  for (const failure_case& c : failure_cases) {
    SCOPED_TRACE(c.what);
    scratch_directory scratch;
    make_fixture();
    write_file("out.xnq", old_layout);
    std::vector<std::string> entries = scratch.entries();
    run_result result = run_quilvex({}, c.input);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.errors, on_console(c.errors));
    EXPECT_EQ(result.output, c.output);
    EXPECT_EQ(read_file("out.xnq"), "");
    EXPECT_EQ(scratch.entries(), entries);
  }
}

TEST(Quilvex, ReportsALayoutFileThatCannotBeCreatedBeforeAsking) {
  scratch_directory scratch;
  make_fixture();
  make_directory("out.xnq");
  run_result result = run_quilvex({}, "a.bin\nn\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.errors,
            on_console("quilvex: cannot create \"out.xnq\": Is a directory\n"));
}

// Every listed file's bytes sit at its offset when the files are laid end
// to end, and the total is the length of the whole.
TEST(Quilvex, OffsetsMatchTheFilesLaidEndToEnd) {
  scratch_directory scratch;
  std::vector<std::string> names;
  std::string answers;
  unsigned seed = 12345;
  for (int i = 0; i < 40; ++i) {
    std::string name = "part " + std::to_string(i) + ".bin";
    std::string bytes;
    seed = seed * 1103515245 + 12345;
    std::size_t size = i % 7 == 3 ? 0 : (seed >> 8) % 5000;
    for (std::size_t j = 0; j < size; ++j)
      bytes += static_cast<char>((seed >> 3) + j * 31);
    write_file(name, bytes);
    names.push_back(name);
    if (i % 10 == 9) names.push_back(names[i / 2]);  // some twice
  }
  // The files laid end to end, as cat(1) would lay them.
  std::string joined;
  for (std::size_t i = 0; i < names.size(); ++i) {
    answers += names[i] + (i + 1 < names.size() ? "\ny\n" : "\nn\n");
    joined += read_file(names[i]);
  }

  ASSERT_EQ(run_quilvex({}, answers).status, 0);
  std::istringstream layout(read_file("out.xnq"));
  std::string line;
  ASSERT_TRUE(std::getline(layout, line));
  EXPECT_EQ(line, "v1.00");
  for (const std::string& name : names) {
    ASSERT_TRUE(std::getline(layout, line));
    unsigned long offset = std::stoul(line.substr(2, 8), nullptr, 16);
    EXPECT_EQ(line.substr(10), ",\"" + name + "\"");
    std::string bytes = read_file(name);
    EXPECT_EQ(joined.substr(offset, bytes.size()), bytes) << name;
  }
  ASSERT_TRUE(std::getline(layout, line));
  EXPECT_EQ(line.substr(10), ",\"\"");
  EXPECT_EQ(std::stoul(line.substr(2, 8), nullptr, 16), joined.size());
  EXPECT_FALSE(std::getline(layout, line));
}

// A program driving the tool through pipes reads each prompt before it
// writes the answer; the tool must show every prompt before it waits.
TEST(Quilvex, ShowsEachPromptToAProgramDrivingItThroughPipes) {
  scratch_directory scratch;
  make_fixture();
  quilvex_process tool;
  ASSERT_TRUE(tool.wait_for_output_ending(first, 10));
  tool.send("a.bin\n");
  ASSERT_TRUE(tool.wait_for_output_ending(another, 10));
  tool.send("y\n");
  ASSERT_TRUE(tool.wait_for_output_ending(next, 10));
  tool.send("c.bin\r\n");
  ASSERT_TRUE(tool.wait_for_output_ending(another, 10));
  tool.send("n\n");
  ASSERT_TRUE(tool.wait_for_output_ending(closing, 10));
  EXPECT_EQ(tool.finish(), 0);
  EXPECT_EQ(tool.output(), first + another + next + another + closing);
  EXPECT_EQ(read_file("out.xnq"),
            "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"c.bin\"\n"
            "0x00000133,\"\"\n");
}

}  // namespace
