// Helpers shared by the tests: a scratch directory to run in, files made and
// read back whole, and the built tool run as a child process.
#ifndef QUILVEX_TEST_SUPPORT_H_
#define QUILVEX_TEST_SUPPORT_H_

#include <cstdint>
#include <string>
#include <vector>

// A fresh empty directory that is the current directory for the object's
// lifetime; removed with everything in it afterwards.
class scratch_directory {
 public:
  scratch_directory();
  ~scratch_directory();
  scratch_directory(const scratch_directory&) = delete;
  scratch_directory& operator=(const scratch_directory&) = delete;

  const std::string& path() const { return path_; }
  // Names in this directory, sorted.
  std::vector<std::string> entries() const;

 private:
  std::string path_;
  std::string previous_;
};

void write_file(const std::string& name, const std::string& bytes);
std::string read_file(const std::string& name);
bool file_exists(const std::string& name);
void make_directory(const std::string& name);
// A file of `size` bytes that takes no room on disk.
void make_sparse_file(const std::string& name, std::uint64_t size);

// The tool under test, as built.
std::string quilvex_path();

// The prompts as the tool prints them.
extern const char first_prompt[];
extern const char another_prompt[];
extern const char next_prompt[];

// A line break as the tool prints it on the console: CR LF on Windows.
extern const char console_newline[];

// `text` with each LF as the tool prints it on the console.
std::string on_console(const std::string& text);

// A file name with blanks, a comma, a percent sign and, where the system
// allows them in names, double quotes.
extern const char odd_file_name[];

struct run_result {
  int status = -1;  // exit status, or 128 + signal number
  std::string output;
  std::string errors;
};

// Runs the tool with `arguments` in the current directory, `input` written
// to its standard input through a pipe, its standard output sent to
// `output_path` when given (a device such as /dev/full) or else captured.
run_result run_quilvex(const std::vector<std::string>& arguments,
                       const std::string& input,
                       const std::string& output_path = "");

// The tool as a child with its standard input and output on pipes, for
// tests that answer each prompt as it appears, as a driving program would.
class quilvex_process {
 public:
  quilvex_process();
  ~quilvex_process();
  quilvex_process(const quilvex_process&) = delete;
  quilvex_process& operator=(const quilvex_process&) = delete;

  // Reads standard output until it ends with `text`, for at most
  // `seconds`; false if it did not.
  bool wait_for_output_ending(const std::string& text, int seconds);
  void send(const std::string& bytes);
  // Closes standard input, reads the rest of the output and gives the
  // exit status.
  int finish();
  const std::string& output() const { return output_; }

 private:
  // A process id and descriptors on POSIX, handles on Windows.
  std::intptr_t pid_ = -1;
  std::intptr_t to_child_ = -1;
  std::intptr_t from_child_ = -1;
  std::string output_;
};

#endif  // QUILVEX_TEST_SUPPORT_H_
