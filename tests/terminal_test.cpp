// The tool on a real terminal, through tmux: what a user sees and types.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "test_support.h"

namespace {

class terminal {
 public:
  // Starts `command` in a detached tmux session on a private server.
  explicit terminal(const std::string& command)
      : server_("quilvex-test-" + std::to_string(getpid())) {
    run("new-session -d -x 150 -y 40 -s test " + quoted(command));
  }
  ~terminal() { run("kill-server"); }

  void type(const std::string& keys) {
    run("send-keys -t test -l " + quoted(keys));
    run("send-keys -t test Enter");
  }

  void press(const std::string& key) { run("send-keys -t test " + key); }

  std::string screen() { return run("capture-pane -p -J -t test"); }

  // Waits until `text` shows `times` times on the screen.
  bool shows(const std::string& text, int times = 1) {
    for (int tries = 0; tries < 100; ++tries) {
      std::string now = screen();
      int seen = 0;
      for (auto at = now.find(text); at != std::string::npos;
           at = now.find(text, at + 1))
        ++seen;
      if (seen >= times) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  static std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
      result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
  }

  std::string run(const std::string& arguments) {
    std::string command =
        "TERM=xterm tmux -L " + server_ + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "";
    std::string output;
    char chunk[4096];
    while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe))
      output.append(chunk, got);
    pclose(pipe);
    return output;
  }

  std::string server_;
};

// The prompts as the screen shows them: tmux drops the trailing blank.
const char first[] = "Which file would you like to go first?";
const char another[] = "Would you like to add another file? [y/n]";
const char next[] = "Which file would you like to go next?";

// Each prompt must be on the screen before the tool waits for the reply;
// a mistyped name is reported and asked for again.
TEST(Terminal, ShowsEachPromptAndAsksAgainAfterAMistypedName) {
  if (std::system("command -v tmux > /dev/null") != 0)
    GTEST_SKIP() << "tmux is not installed";
  scratch_directory scratch;
  write_file("a.bin", "0123456789abcdef");
  write_file("c.bin", std::string(291, 'c'));
  terminal screen(quilvex_path() + "; echo \"[status $?]\"; sleep 60");

  ASSERT_TRUE(screen.shows(first)) << screen.screen();
  screen.type("missing.bin");
  ASSERT_TRUE(screen.shows(
      "quilvex: cannot open \"missing.bin\": No such file or directory"))
      << screen.screen();
  ASSERT_TRUE(screen.shows(first, 2)) << screen.screen();
  screen.type("a.bin");
  ASSERT_TRUE(screen.shows(another)) << screen.screen();
  screen.type("y");
  ASSERT_TRUE(screen.shows(next)) << screen.screen();
  screen.type("c.bin");
  ASSERT_TRUE(screen.shows(another, 2)) << screen.screen();
  screen.type("n");
  ASSERT_TRUE(screen.shows("XNQ successfully written.\n[status 0]"))
      << screen.screen();
  EXPECT_EQ(read_file("out.xnq"),
            "v1.00\n0x00000000,\"a.bin\"\n0x00000010,\"c.bin\"\n"
            "0x00000133,\"\"\n");
}

TEST(Terminal, EndOfInputAtTheTerminalFailsAndLeavesNoLayout) {
  if (std::system("command -v tmux > /dev/null") != 0)
    GTEST_SKIP() << "tmux is not installed";
  scratch_directory scratch;
  write_file("a.bin", "0123456789abcdef");
  terminal screen(quilvex_path() + "; echo \"[status $?]\"; sleep 60");
  ASSERT_TRUE(screen.shows(first)) << screen.screen();
  screen.type("a.bin");
  ASSERT_TRUE(screen.shows(another)) << screen.screen();
  // Control-D at the start of a line: the end of the input.
  screen.press("C-d");
  ASSERT_TRUE(screen.shows(std::string(another) +
                           " quilvex: unexpected end of input\n[status 1]"))
      << screen.screen();
  EXPECT_EQ(read_file("out.xnq"), "");
}

// Answers from a script, prompts on the terminal: the prompts wait in the
// buffer, but a failure's message still comes after them.
TEST(Terminal, ShowsAFailureAfterThePromptsBeforeIt) {
  if (std::system("command -v tmux > /dev/null") != 0)
    GTEST_SKIP() << "tmux is not installed";
  scratch_directory scratch;
  write_file("a.bin", "0123456789abcdef");
  write_file("answers", "a.bin\ny\nmissing\nn\n");
  terminal screen(quilvex_path() +
                  " < answers; echo \"[status $?]\"; sleep 60");
  ASSERT_TRUE(screen.shows(
      "Which file would you like to go first? Would you like to add another "
      "file? [y/n] Which file would you like to go next? quilvex: cannot "
      "open \"missing\": No such file or directory\n[status 1]"))
      << screen.screen();
}

}  // namespace
