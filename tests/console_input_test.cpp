#include "console_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

namespace {

// A descriptor from which exactly `bytes` can be read, then the end.
int input_holding(const std::string& bytes) {
  int ends[2];
  EXPECT_EQ(0, pipe(ends));
  EXPECT_EQ(static_cast<ssize_t>(bytes.size()),
            write(ends[1], bytes.data(), bytes.size()));
  close(ends[1]);
  return ends[0];
}

std::string rest_of(console_input& input) {
  std::string rest;
  for (int c; (c = input.get()) != console_input::end_of_input;)
    rest += static_cast<char>(c);
  return rest;
}

struct reading_case {
  const char* what;
  std::string input;
  // R reads a reply, A reads an answer.
  std::string reads;
  // What each read gives: the reply, or the answer character; "<end>" when
  // the input has ended.
  std::vector<std::string> results;
  std::string unread;
};

const std::string name78(78, 'm');
const std::string name79(79, 'l');

const reading_case reading_cases[] = {
    {"a name, then n", "a.bin\nn\n", "RA", {"a.bin", "n"}, ""},
    {"yes: y answers, e is discarded, s is the next name",
     "a\nyes\nn\n",
     "RARA",
     {"a", "y", "s", "n"},
     ""},
    {"no: only the n counts", "a\nno\n", "RA", {"a", "n"}, "\n"},
    {"N is not n", "a\nN\nb\nn\n", "RARA", {"a", "N", "b", "n"}, ""},
    {"a blank before n answers, the n is discarded",
     "a\n n\n",
     "RA",
     {"a", " "},
     "\n"},
    {"an empty answer line swallows the next line's first character",
     "a\n\nxb\nn\n",
     "RARA",
     {"a", "\n", "b", "n"},
     ""},
    {"a 78-character name and its newline fill the buffer",
     name78 + "\nn\n",
     "RA",
     {name78, "n"},
     ""},
    {"a 79-character name leaves its newline to be the answer",
     name79 + "\nzb\nn\n",
     "RARA",
     {name79, "\n", "b", "n"},
     ""},
    {"an 81-character line whose 80th character is n ends the list",
     name79 + "nx\n",
     "RA",
     {name79, "n"},
     "\n"},
    {"blanks, quotes, commas and percent signs stay in the name",
     " my \"x\" %s,1.bin \nn\n",
     "RA",
     {" my \"x\" %s,1.bin ", "n"},
     ""},
    {"a zero byte is stored like any other",
     std::string("a\0b\nn\n", 6),
     "RA",
     {std::string("a\0b", 3), "n"},
     ""},
    {"CR LF is one newline",
     "a.bin\r\ny\r\nb\r\nn\r\n",
     "RARA",
     {"a.bin", "y", "b", "n"},
     ""},
    {"CR LF after a 78-character name counts as one character",
     name78 + "\r\nn\r\n",
     "RA",
     {name78, "n"},
     ""},
    {"CR LF after a 79-character name is the answer",
     name79 + "\r\nzb\r\nn\r\n",
     "RARA",
     {name79, "\n", "b", "n"},
     ""},
    {"a lone CR is part of the name", "a\rb\nn\n", "RA", {"a\rb", "n"}, ""},
    {"a CR at the very end stays a CR", "a\r", "R", {"a\r"}, ""},
    {"an n at the very end needs no newline", "a\nn", "RA", {"a", "n"}, ""},
    {"a name at the very end needs no newline", "a", "RA", {"a", "<end>"}, ""},
    {"no input at all", "", "R", {"<end>"}, ""},
    {"the input ends at an answer", "a\n", "RA", {"a", "<end>"}, ""},
    {"the input ends after an answer's first character",
     "a\ny",
     "RAR",
     {"a", "y", "<end>"},
     ""},
};

TEST(ConsoleInput, FollowsTheReadingRules) {
  for (const reading_case& c : reading_cases) {
    SCOPED_TRACE(c.what);
    int descriptor = input_holding(c.input);
    console_input input(descriptor, nullptr);
    char path_buffer[80] = {};
    std::vector<std::string> results;
    for (char read : c.reads) {
      if (read == 'R') {
        std::size_t length = 0;
        if (input.read_reply(path_buffer, sizeof path_buffer, &length))
          results.push_back(std::string(path_buffer, length));
        else
          results.push_back("<end>");
        EXPECT_EQ(path_buffer[length], '\0');
      } else {
        int answer = input.read_answer();
        results.push_back(answer == console_input::end_of_input
                              ? "<end>"
                              : std::string(1, static_cast<char>(answer)));
      }
    }
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(rest_of(input), c.unread);
    EXPECT_EQ(input.why_ended(), console_input::ending::end_of_input);
    close(descriptor);
  }
}

TEST(ConsoleInput, JoinsACarriageReturnAndLineFeedSplitAcrossReads) {
  int ends[2];
  ASSERT_EQ(0, pipe(ends));
  ASSERT_EQ(6, write(ends[1], "a.bin\r", 6));
  console_input input(ends[0], nullptr);
  for (char expected : std::string("a.bin"))
    EXPECT_EQ(input.get(), expected);
  ASSERT_EQ(input.buffered(), 1u);  // the CR, and nothing after it yet
  std::thread late_writer([&] {
    EXPECT_EQ(3, write(ends[1], "\nn\n", 3));
    close(ends[1]);
  });
  EXPECT_EQ(input.get(), '\n');
  EXPECT_EQ(input.read_answer(), 'n');
  late_writer.join();
  EXPECT_EQ(input.get(), console_input::end_of_input);
  close(ends[0]);
}

off_t size_on_disk(int descriptor) {
  struct stat info;
  EXPECT_EQ(0, fstat(descriptor, &info));
  return info.st_size;
}

// Prompts reach the console before a read that may wait, and only then: a
// buffered answer costs no write.
TEST(ConsoleInput, FlushesTheConsoleOnlyBeforeAReadThatMayWait) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  int written = fileno(file);
  console_output console(written);
  int descriptor = input_holding("a\ny\nb\nn\n");
  console_input input(descriptor, &console);
  char path_buffer[80];
  std::size_t length;

  ASSERT_FALSE(console.print("first? "));
  ASSERT_TRUE(input.read_reply(path_buffer, sizeof path_buffer, &length));
  EXPECT_EQ(size_on_disk(written), 7);  // flushed: the buffer was empty

  ASSERT_FALSE(console.print("more? "));
  EXPECT_EQ(input.read_answer(), 'y');
  ASSERT_FALSE(console.print("next? "));
  ASSERT_TRUE(input.read_reply(path_buffer, sizeof path_buffer, &length));
  ASSERT_FALSE(console.print("more? "));
  EXPECT_EQ(input.read_answer(), 'n');
  EXPECT_EQ(size_on_disk(written), 7);  // all answered from the buffer

  EXPECT_EQ(input.get(), console_input::end_of_input);
  EXPECT_EQ(size_on_disk(written), 25);  // the read at the end flushed
  std::fclose(file);
  close(descriptor);
}

TEST(ConsoleInput, TellsAFailedReadOrConsoleWriteFromTheEnd) {
  int directory = open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(directory, 0);
  console_input unreadable(directory, nullptr);
  EXPECT_EQ(unreadable.get(), console_input::end_of_input);
  EXPECT_EQ(unreadable.why_ended(), console_input::ending::read_failed);
  EXPECT_EQ(unreadable.failure().errno_value, EISDIR);
  close(directory);

  int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  console_output console(full);
  int descriptor = input_holding("a\nn\n");
  console_input input(descriptor, &console);
  ASSERT_FALSE(console.print("Which file would you like to go first? "));
  char path_buffer[80];
  std::size_t length;
  EXPECT_FALSE(input.read_reply(path_buffer, sizeof path_buffer, &length));
  EXPECT_EQ(input.why_ended(), console_input::ending::write_failed);
  EXPECT_EQ(input.failure().errno_value, ENOSPC);
  close(full);
  close(descriptor);
}

}  // namespace
