// Measures a scripted run of the tool against the floor of the system calls
// that measuring needs, its memory at 10 and at N files, and "quilvex -v"
// against a C program printing the same text. Prints its figures.
//
//   quilvex_bench [--files N] [--rounds R] [--no-strace]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "quilvex_bench: %s: %s\n", what.c_str(),
               std::strerror(errno));
  std::exit(1);
}

struct run_figures {
  double wall = 0;  // seconds
  double cpu = 0;   // user and system seconds
  long peak_kib = 0;
  std::string output;
};

double seconds(const timeval& t) {
  return t.tv_sec + t.tv_usec / 1e6;
}

double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

// Runs `argv` in `directory` with standard input from `input_path` and
// standard output through a pipe to this process, which reads it all, as a
// program driving the tool would.
run_figures run(const std::vector<std::string>& argv,
                const std::string& directory, const std::string& input_path,
                bool keep_output = false) {
  int ends[2];
  if (pipe(ends) != 0) die("pipe");
  // posix_spawn rather than fork: a forked child would count this
  // process's memory in its peak resident size.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawn_file_actions_addopen(&actions, 0, input_path.c_str(), O_RDONLY,
                                   0);
  posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<char*> words;
  for (const std::string& word : argv)
    words.push_back(const_cast<char*>(word.c_str()));
  words.push_back(nullptr);
  double start = now();
  pid_t pid;
  errno = posix_spawn(&pid, words[0], &actions, nullptr, words.data(), environ);
  if (errno != 0) die("posix_spawn " + argv[0]);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  run_figures figures;
  char chunk[65536];
  for (ssize_t got; (got = read(ends[0], chunk, sizeof chunk)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) die("read");
    if (keep_output) figures.output.append(chunk, static_cast<size_t>(got));
  }
  close(ends[0]);
  int status;
  rusage usage;
  while (wait4(pid, &status, 0, &usage) < 0)
    if (errno != EINTR) die("wait4");
  figures.wall = now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "quilvex_bench: %s failed\n", argv[0].c_str());
    std::exit(1);
  }
  figures.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  figures.peak_kib = usage.ru_maxrss;
  return figures;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle]
                           : (values[middle - 1] + values[middle]) / 2;
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  if (!file) die("write " + path);
}

std::string read_text(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The tool's own peak resident size (VmHWM), read as it exits. The kernel's
// ru_maxrss would also count the memory of the process that started it.
long peak_resident_kib(const std::string& tool, const std::string& directory,
                       const std::string& input_path) {
  pid_t pid = fork();
  if (pid < 0) die("fork");
  if (pid == 0) {
    int input = open(input_path.c_str(), O_RDONLY);
    int output = open("/dev/null", O_WRONLY);
    if (input < 0 || output < 0 || chdir(directory.c_str()) != 0 ||
        dup2(input, 0) < 0 || dup2(output, 1) < 0 ||
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
      _exit(126);
    execl(tool.c_str(), tool.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status;
  if (waitpid(pid, &status, 0) != pid || !WIFSTOPPED(status))
    die("waitpid");  // stopped after exec
  if (ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACEEXIT) != 0 ||
      ptrace(PTRACE_CONT, pid, nullptr, nullptr) != 0)
    die("ptrace");
  long peak = -1;
  while (waitpid(pid, &status, 0) == pid && WIFSTOPPED(status)) {
    if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
      std::istringstream lines(
          read_text("/proc/" + std::to_string(pid) + "/status"));
      for (std::string line; std::getline(lines, line);)
        if (line.compare(0, 6, "VmHWM:") == 0)
          peak = std::strtol(line.c_str() + 6, nullptr, 10);
    }
    int signal = WSTOPSIG(status) == SIGTRAP ? 0 : WSTOPSIG(status);
    if (ptrace(PTRACE_CONT, pid, nullptr, signal) != 0) die("ptrace");
  }
  if (peak < 0) die("VmHWM");
  return peak;
}

// The answers that name files [0, count): y after each but the last, then n.
std::string answer_script(const std::vector<std::string>& names, size_t count) {
  std::string script;
  for (size_t i = 0; i < count; ++i)
    script += names[i] + (i + 1 < count ? "\ny\n" : "\nn\n");
  return script;
}

}  // namespace

int main(int argc, char** argv) {
  size_t file_count = 100000;
  int rounds = 11;
  bool with_strace = true;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--files" && i + 1 < argc) {
      file_count = std::strtoul(argv[++i], nullptr, 10);
    } else if (option == "--rounds" && i + 1 < argc) {
      rounds = std::atoi(argv[++i]);
    } else if (option == "--no-strace") {
      with_strace = false;
    } else {
      std::fprintf(stderr,
                   "usage: quilvex_bench [--files N] [--rounds R] "
                   "[--no-strace]\n");
      return 2;
    }
  }
  if (file_count < 10 || rounds < 1) {
    std::fprintf(stderr, "quilvex_bench: at least 10 files and 1 round\n");
    return 2;
  }
  const std::string tool = QUILVEX_PATH;
  const std::string floor = FLOOR_PATH;
  const std::string version_floor = VERSION_FLOOR_PATH;

  char pattern[] = "/tmp/quilvex-bench-XXXXXX";
  if (!mkdtemp(pattern)) die("mkdtemp");
  const std::string work = pattern;
  const std::string files = work + "/files";
  if (mkdir(files.c_str(), 0755) != 0) die("mkdir");

  // Sparse files of varied sizes, with names of varied lengths.
  std::vector<std::string> names;
  std::string name_list;
  unsigned long long expected_total = 0;
  unsigned seed = 2026;
  for (size_t i = 0; i < file_count; ++i) {
    seed = seed * 1103515245u + 12345u;
    char name[80];
    std::snprintf(name, sizeof name, "file-%07zu%.*s.bin", i,
                  static_cast<int>(seed % 23), "-abcdefghijklmnopqrstuvw");
    off_t size = (seed >> 9) % 20000;
    std::string path = files + "/" + name;
    int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0 || ftruncate(descriptor, size) != 0 ||
        close(descriptor) != 0)
      die("create " + path);
    names.push_back(name);
    name_list += std::string(name) + "\n";
    expected_total += static_cast<unsigned long long>(size);
  }
  write_text(work + "/answers.txt", answer_script(names, file_count));
  write_text(work + "/answers-10.txt", answer_script(names, 10));
  write_text(work + "/names.txt", name_list);

  std::printf("quilvex benchmark: %zu files, %d rounds, in %s\n", file_count,
              rounds, work.c_str());

  // Check once that both agree on the total.
  run_figures check = run({floor}, files, work + "/names.txt", true);
  run({tool}, files, work + "/answers.txt");
  std::string layout = read_text(files + "/out.xnq");
  unsigned long long tool_total = std::strtoull(
      layout.substr(layout.size() - 14 + 2, 8).c_str(), nullptr, 16);
  if (std::strtoull(check.output.c_str(), nullptr, 10) != expected_total ||
      tool_total != expected_total) {
    std::fprintf(stderr, "quilvex_bench: totals disagree\n");
    return 1;
  }

  std::vector<double> tool_wall, tool_cpu, floor_wall, floor_cpu, ratios;
  for (int round = 0; round < rounds; ++round) {
    run_figures t, f;
    if (round % 2 == 0) {
      t = run({tool}, files, work + "/answers.txt");
      f = run({floor}, files, work + "/names.txt");
    } else {
      f = run({floor}, files, work + "/names.txt");
      t = run({tool}, files, work + "/answers.txt");
    }
    tool_wall.push_back(t.wall);
    tool_cpu.push_back(t.cpu);
    floor_wall.push_back(f.wall);
    floor_cpu.push_back(f.cpu);
    ratios.push_back(t.wall / f.wall);
  }
  std::printf("\nscripted run, median of %d (standard output to a pipe):\n",
              rounds);
  std::printf("  tool : wall %8.3f ms  cpu %8.3f ms\n", median(tool_wall) * 1e3,
              median(tool_cpu) * 1e3);
  std::printf("  floor: wall %8.3f ms  cpu %8.3f ms\n",
              median(floor_wall) * 1e3, median(floor_cpu) * 1e3);
  std::printf("  tool/floor wall ratio, median of pairs: %.3f\n",
              median(ratios));

  long small = peak_resident_kib(tool, files, work + "/answers-10.txt");
  long large = peak_resident_kib(tool, files, work + "/answers.txt");
  std::printf("\npeak resident memory:\n");
  std::printf(
      "  10 files: %ld KiB\n  %zu files: %ld KiB\n  difference: %ld "
      "KiB\n",
      small, file_count, large, large - small);

  // quilvex -v against a C program printing the same four lines.
  const int runs_per_round = 200;
  std::vector<double> version_ratios, version_tool, version_c;
  for (int round = 0; round < rounds; ++round) {
    double tool_time = 0, c_time = 0;
    for (int i = 0; i < runs_per_round; ++i) {
      tool_time += run({tool, "-v"}, work, "/dev/null").wall;
      c_time += run({version_floor}, work, "/dev/null").wall;
    }
    version_tool.push_back(tool_time / runs_per_round);
    version_c.push_back(c_time / runs_per_round);
    version_ratios.push_back(tool_time / c_time);
  }
  std::printf("\nquilvex -v, median of %d rounds of %d runs:\n", rounds,
              runs_per_round);
  std::printf("  tool: %.1f us  C program: %.1f us  ratio: %.3f\n",
              median(version_tool) * 1e6, median(version_c) * 1e6,
              median(version_ratios));

  if (with_strace && std::system("command -v strace > /dev/null") == 0) {
    std::string command = "cd '" + files + "' && strace -c -o '" + work +
                          "/strace.txt' '" + tool + "' < '" + work +
                          "/answers.txt' > /dev/null";
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "quilvex_bench: strace failed\n");
      return 1;
    }
    std::printf("\nsystem calls of one scripted run (strace -c):\n");
    std::istringstream table(read_text(work + "/strace.txt"));
    std::string line;
    while (std::getline(table, line)) {
      std::istringstream words(line);
      std::vector<std::string> word;
      for (std::string w; words >> w;)
        word.push_back(w);
      if (word.size() < 5 ||
          !std::isdigit(static_cast<unsigned char>(word[3][0])))
        continue;
      double calls = std::strtod(word[3].c_str(), nullptr);
      std::printf("  %-12s %9.0f  %6.3f per file\n", word.back().c_str(), calls,
                  calls / file_count);
    }
  }

  std::string remove = "rm -rf '" + work + "'";
  if (std::system(remove.c_str()) != 0) die("rm");
  return 0;
}
