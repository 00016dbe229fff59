#include <windows.h>
#include <winioctl.h>

#include <stdexcept>
#include <thread>

#include "test_support.h"

const char console_newline[] = "\r\n";
// Windows allows no double quote in a file name.
const char odd_file_name[] = "my 'x' %s,1.bin";

static void check(bool ok, const std::string& what) {
  if (!ok)
    throw std::runtime_error(what + ": system error " +
                             std::to_string(GetLastError()));
}

void make_sparse_file(const std::string& name, std::uint64_t size) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  check(file != INVALID_HANDLE_VALUE, "create " + name);
  DWORD ignored;
  // Where the file system cannot make it sparse, it is merely large.
  DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored,
                  nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  bool sized =
      SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  check(sized, "truncate " + name);
}

// The built program's path; under Wine a POSIX path is on drive Z:.
static std::string program_path() {
  std::string path = quilvex_path();
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

static std::string command_line(const std::vector<std::string>& arguments) {
  std::string line = "\"" + program_path() + "\"";
  for (const std::string& argument : arguments)
    line += " \"" + argument + "\"";
  return line;
}

// A pipe whose one end the child inherits.
static void make_pipe(HANDLE* read_end, HANDLE* write_end, bool child_reads) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  check(CreatePipe(read_end, write_end, &inherited, 0), "CreatePipe");
  HANDLE own = child_reads ? *write_end : *read_end;
  check(SetHandleInformation(own, HANDLE_FLAG_INHERIT, 0),
        "SetHandleInformation");
}

static HANDLE start(const std::vector<std::string>& arguments, HANDLE input,
                    HANDLE output, HANDLE errors) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = errors;
  PROCESS_INFORMATION process;
  std::string line = command_line(arguments);
  check(CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &process),
        "CreateProcess " + line);
  CloseHandle(process.hThread);
  return process.hProcess;
}

static std::string read_all(HANDLE from) {
  std::string bytes;
  char chunk[65536];
  DWORD got;
  while (ReadFile(from, chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.append(chunk, got);
  return bytes;
}

static void write_all(HANDLE to, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD put;
    if (!WriteFile(to, bytes.data() + done,
                   static_cast<DWORD>(bytes.size() - done), &put, nullptr))
      return;  // the tool stopped reading: that is its choice
    done += put;
  }
}

static int wait_for(HANDLE process) {
  WaitForSingleObject(process, INFINITE);
  DWORD status = 0;
  check(GetExitCodeProcess(process, &status), "GetExitCodeProcess");
  CloseHandle(process);
  return static_cast<int>(status);
}

run_result run_quilvex(const std::vector<std::string>& arguments,
                       const std::string& input,
                       const std::string& output_path) {
  HANDLE input_read, input_write, output_read, output_write, error_read,
      error_write;
  make_pipe(&input_read, &input_write, true);
  make_pipe(&output_read, &output_write, false);
  make_pipe(&error_read, &error_write, false);
  HANDLE output = output_write;
  if (!output_path.empty()) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    output = CreateFileA(output_path.c_str(), GENERIC_WRITE, 0, &inherited,
                         OPEN_EXISTING, 0, nullptr);
    check(output != INVALID_HANDLE_VALUE, "open " + output_path);
  }
  HANDLE process = start(arguments, input_read, output, error_write);
  CloseHandle(input_read);
  CloseHandle(output_write);
  CloseHandle(error_write);
  if (output != output_write) CloseHandle(output);

  std::thread feeder([&] {
    write_all(input_write, input);
    CloseHandle(input_write);
  });
  run_result result;
  std::thread error_reader([&] { result.errors = read_all(error_read); });
  result.output = read_all(output_read);
  error_reader.join();
  feeder.join();
  CloseHandle(output_read);
  CloseHandle(error_read);
  result.status = wait_for(process);
  return result;
}

// The handles are kept as integers in the portable header.
static HANDLE as_handle(std::intptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}

quilvex_process::quilvex_process() {
  HANDLE input_read, input_write, output_read, output_write;
  make_pipe(&input_read, &input_write, true);
  make_pipe(&output_read, &output_write, false);
  HANDLE process =
      start({}, input_read, output_write, GetStdHandle(STD_ERROR_HANDLE));
  CloseHandle(input_read);
  CloseHandle(output_write);
  pid_ = reinterpret_cast<std::intptr_t>(process);
  to_child_ = reinterpret_cast<std::intptr_t>(input_write);
  from_child_ = reinterpret_cast<std::intptr_t>(output_read);
}

quilvex_process::~quilvex_process() {
  if (pid_ != -1) {
    TerminateProcess(as_handle(pid_), 1);
    wait_for(as_handle(pid_));
  }
  if (to_child_ != -1) CloseHandle(as_handle(to_child_));
  if (from_child_ != -1) CloseHandle(as_handle(from_child_));
}

bool quilvex_process::wait_for_output_ending(const std::string& text,
                                             int seconds) {
  auto ends_with_text = [&] {
    return output_.size() >= text.size() &&
           output_.compare(output_.size() - text.size(), text.size(), text) ==
               0;
  };
  for (int waited_ms = 0; !ends_with_text(); waited_ms += 20) {
    if (waited_ms >= seconds * 1000) return false;
    DWORD available = 0;
    if (!PeekNamedPipe(as_handle(from_child_), nullptr, 0, nullptr, &available,
                       nullptr))
      return ends_with_text();
    if (available == 0) {
      Sleep(20);
      continue;
    }
    char chunk[4096];
    DWORD got = 0;
    if (!ReadFile(as_handle(from_child_), chunk, sizeof chunk, &got, nullptr) ||
        got == 0)
      return ends_with_text();
    output_.append(chunk, got);
  }
  return true;
}

void quilvex_process::send(const std::string& bytes) {
  write_all(as_handle(to_child_), bytes);
}

int quilvex_process::finish() {
  CloseHandle(as_handle(to_child_));
  to_child_ = -1;
  output_ += read_all(as_handle(from_child_));
  int status = wait_for(as_handle(pid_));
  pid_ = -1;
  return status;
}
