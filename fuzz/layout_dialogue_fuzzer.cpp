// Runs the whole dialogue in-process on arbitrary input, in a directory of a
// few small fixture files, and checks what it leaves: either an empty
// out.xnq and status 1, or status 0 and a complete layout whose offsets
// agree with the sizes of the files it lists.
//
// The first input byte chooses how failures are met: odd as at a terminal
// (asked again), even as in a script (the dialogue stops).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "console_input.h"
#include "console_output.h"
#include "layout_dialogue.h"

namespace {

std::string fixture_directory;
std::string starting_directory;  // where libFuzzer keeps its corpus

// Reports to standard error and, as a bounded run closes standard error to
// keep the tool's own messages quiet, to a file beside the corpus too.
void fail(const char* why, const std::string& layout) {
  std::string report =
      std::string("inconsistent layout: ") + why + "\n---\n" + layout + "---\n";
  std::fputs(report.c_str(), stderr);
  std::string path = starting_directory + "/inconsistent-layout.txt";
  if (std::FILE* file = std::fopen(path.c_str(), "w")) {
    std::fputs(report.c_str(), file);
    std::fclose(file);
  }
  std::abort();
}

void make_file(const char* name, off_t size) {
  int descriptor = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (descriptor < 0 || ftruncate(descriptor, size) != 0) std::abort();
  close(descriptor);
}

void remove_fixture() {
  if (chdir("/") != 0) return;
  std::string command = "rm -rf '" + fixture_directory + "'";
  if (std::system(command.c_str()) != 0) return;
}

std::string read_layout() {
  std::string bytes;
  std::FILE* file = std::fopen("out.xnq", "rb");
  if (!file) std::abort();
  char chunk[4096];
  while (std::size_t got = std::fread(chunk, 1, sizeof chunk, file))
    bytes.append(chunk, got);
  std::fclose(file);
  return bytes;
}

// The size of a named file as a reader of the layout would take it.
bool size_of(const std::string& name, std::uint64_t* size) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) return false;
  bool ok = fseeko(file, 0, SEEK_END) == 0;
  off_t end = ftello(file);
  std::fclose(file);
  *size = static_cast<std::uint64_t>(end);
  return ok && end >= 0;
}

void check_layout(const std::string& layout) {
  if (layout.compare(0, 6, "v1.00\n") != 0) fail("no version line", layout);
  std::size_t at = 6;
  std::uint64_t expected_offset = 0;
  bool first = true;
  for (;;) {
    std::size_t end = layout.find('\n', at);
    if (end == std::string::npos) fail("a line without its LF", layout);
    std::string line = layout.substr(at, end - at);
    at = end + 1;
    if (line.size() < 13 || line.compare(0, 2, "0x") != 0 ||
        line.compare(10, 2, ",\"") != 0 || line.back() != '"')
      fail("a malformed line", layout);
    for (std::size_t i = 2; i < 10; ++i)
      if (!std::strchr("0123456789abcdef", line[i]))
        fail("not 8 lowercase hex digits", layout);
    std::uint64_t number =
        std::strtoull(line.substr(2, 8).c_str(), nullptr, 16);
    if (number != expected_offset)
      fail("an offset that does not add up", layout);
    if (first && number != 0) fail("a first offset other than 0", layout);
    std::string name = line.substr(12, line.size() - 13);
    if (name.empty()) {
      if (first) fail("no entry line", layout);
      if (at != layout.size()) fail("lines after the end line", layout);
      return;
    }
    std::uint64_t size = 0;
    if (!size_of(name, &size))
      fail("a listed file that cannot be measured", layout);
    expected_offset += size;
    if (expected_offset > 0xffffffff) fail("a total past 32 bits", layout);
    first = false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char here[4096];
  if (!getcwd(here, sizeof here)) std::abort();
  starting_directory = here;
  char pattern[] = "/tmp/quilvex-fuzz-XXXXXX";
  if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
  fixture_directory = pattern;
  std::atexit(remove_fixture);
  make_file("a", 16);
  make_file("b", 291);
  make_file("e", 0);
  make_file("s", 3);
  make_file("y", 1);
  make_file(" a ", 5);
  make_file("big", 3ll << 30);
  make_file("max", 0xffffffffll - 16);
  if (mkdir("d", 0755) != 0 || mkfifo("f", 0644) != 0) std::abort();
  if (chdir(here) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  if (chdir(fixture_directory.c_str()) != 0) std::abort();
  bool ask_again = data[0] & 1;
  int descriptor = memfd_create("input", MFD_CLOEXEC);
  if (descriptor < 0) std::abort();
  std::size_t written = 0;
  while (written < size - 1) {
    ssize_t put = write(descriptor, data + 1 + written, size - 1 - written);
    if (put <= 0) std::abort();
    written += static_cast<std::size_t>(put);
  }
  if (lseek(descriptor, 0, SEEK_SET) != 0) std::abort();

  int null_device = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null_device < 0) std::abort();
  auto console = std::make_unique<console_output>(null_device);
  auto input = std::make_unique<console_input>(descriptor, console.get());
  int status = run_layout_dialogue(*input, *console, ask_again);
  if (console->close()) std::abort();
  close(descriptor);

  std::string layout = read_layout();
  if (status == 1) {
    if (!layout.empty()) fail("a failure that left a layout", layout);
  } else if (status == 0) {
    check_layout(layout);
  } else {
    fail("a status other than 0 or 1", layout);
  }
  if (chdir(starting_directory.c_str()) != 0) std::abort();
  return 0;
}
