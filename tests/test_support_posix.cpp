#include "test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

static void check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what + ": " + std::strerror(errno));
}

void make_sparse_file(const std::string& name, std::uint64_t size) {
  int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  check(descriptor >= 0, "create " + name);
  check(ftruncate(descriptor, static_cast<off_t>(size)) == 0,
        "truncate " + name);
  close(descriptor);
}

const char console_newline[] = "\n";
const char odd_file_name[] = "my \"x\" %s,1.bin";

static std::string read_all(int descriptor) {
  std::string bytes;
  char chunk[65536];
  for (;;) {
    ssize_t got = read(descriptor, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    check(got >= 0, "read");
    if (got == 0) return bytes;
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
}

static void write_all(int descriptor, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return;  // the tool stopped reading: that is its choice
    done += static_cast<std::size_t>(put);
  }
}

static int wait_for(int pid) {
  int status;
  while (waitpid(pid, &status, 0) < 0)
    check(errno == EINTR, "waitpid");
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

// Starts the tool with the given descriptors as its standard streams.
static int start(const std::vector<std::string>& arguments, int input,
                 int output, int errors) {
  std::vector<std::string> words{quilvex_path()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(&word[0]);
  argv.push_back(nullptr);
  // The tests ignore SIGPIPE for themselves; the tool gets the default.
  signal(SIGPIPE, SIG_IGN);
  int pid = fork();
  check(pid >= 0, "fork");
  if (pid == 0) {
    signal(SIGPIPE, SIG_DFL);
    if (dup2(input, 0) < 0 || dup2(output, 1) < 0 || dup2(errors, 2) < 0)
      _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

run_result run_quilvex(const std::vector<std::string>& arguments,
                       const std::string& input,
                       const std::string& output_path) {
  int input_pipe[2], output_pipe[2], error_pipe[2];
  check(pipe2(input_pipe, O_CLOEXEC) == 0, "pipe");
  check(pipe2(output_pipe, O_CLOEXEC) == 0, "pipe");
  check(pipe2(error_pipe, O_CLOEXEC) == 0, "pipe");
  int output = output_pipe[1];
  if (!output_path.empty()) {
    output = open(output_path.c_str(), O_WRONLY | O_CLOEXEC);
    check(output >= 0, "open " + output_path);
  }
  int pid = start(arguments, input_pipe[0], output, error_pipe[1]);
  close(input_pipe[0]);
  close(output_pipe[1]);
  close(error_pipe[1]);
  if (output != output_pipe[1]) close(output);

  std::thread feeder([&] {
    write_all(input_pipe[1], input);
    close(input_pipe[1]);
  });
  run_result result;
  std::thread error_reader([&] { result.errors = read_all(error_pipe[0]); });
  result.output = read_all(output_pipe[0]);
  error_reader.join();
  feeder.join();
  close(output_pipe[0]);
  close(error_pipe[0]);
  result.status = wait_for(pid);
  return result;
}

quilvex_process::quilvex_process() {
  int input_pipe[2], output_pipe[2];
  check(pipe2(input_pipe, O_CLOEXEC) == 0, "pipe");
  check(pipe2(output_pipe, O_CLOEXEC) == 0, "pipe");
  pid_ = start({}, input_pipe[0], output_pipe[1], 2);
  close(input_pipe[0]);
  close(output_pipe[1]);
  to_child_ = input_pipe[1];
  from_child_ = output_pipe[0];
}

quilvex_process::~quilvex_process() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    wait_for(pid_);
  }
  if (to_child_ >= 0) close(to_child_);
  if (from_child_ >= 0) close(from_child_);
}

bool quilvex_process::wait_for_output_ending(const std::string& text,
                                             int seconds) {
  auto ends_with_text = [&] {
    return output_.size() >= text.size() &&
           output_.compare(output_.size() - text.size(), text.size(), text) ==
               0;
  };
  for (int waited_ms = 0; !ends_with_text();) {
    if (waited_ms >= seconds * 1000) return false;
    struct pollfd ready = {static_cast<int>(from_child_), POLLIN, 0};
    int count = poll(&ready, 1, 100);
    waited_ms += 100;
    if (count <= 0) continue;
    char chunk[4096];
    ssize_t got = read(from_child_, chunk, sizeof chunk);
    if (got <= 0) return ends_with_text();
    output_.append(chunk, static_cast<std::size_t>(got));
  }
  return true;
}

void quilvex_process::send(const std::string& bytes) {
  write_all(to_child_, bytes);
}

int quilvex_process::finish() {
  close(to_child_);
  to_child_ = -1;
  output_ += read_all(from_child_);
  int status = wait_for(pid_);
  pid_ = -1;
  return status;
}
