#include "platform.h"

#include <windows.h>

#include <errno.h>
#include <io.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

// The command line's wildcards are expanded before main, as the shell does
// on POSIX: "quilvex *.bin" is a command line of many arguments.
extern "C" {
int _dowildcard = -1;
}

namespace platform {

static error last_error() {
  error reason;
  reason.system_code = GetLastError();
  return reason;
}

// The system codes whose meaning has a C library name, so that a failure
// reads the same as on POSIX.
static int errno_for(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return EPIPE;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return 0;
  }
}

const char* describe(error reason, char* text, std::size_t size) {
  if (size == 0) return text;
  int number = reason.errno_value;
  if (number == 0) number = errno_for(reason.system_code);
  if (number != 0) {
    snprintf(text, size, "%s", strerror(number));
    return text;
  }
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      reason.system_code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
      static_cast<DWORD>(size), nullptr);
  // One line, without the system's closing period and line break.
  while (length > 0 && strchr("\r\n. ", text[length - 1]))
    --length;
  if (length == 0)
    snprintf(text, size, "system error %lu", reason.system_code);
  else
    text[length] = '\0';
  return text;
}

static HANDLE handle_of(file f) {
  return reinterpret_cast<HANDLE>(f);
}

error open_for_reading(const char* name, file* opened) {
  // Backup semantics lets a directory be opened, so that it is reported as
  // one. Opening a pipe or a device does not wait.
  HANDLE handle =
      CreateFileA(name, GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return last_error();
  *opened = reinterpret_cast<file>(handle);
  return error();
}

error query_status(file f, file_status* status) {
  status->kind = file_status::other;
  status->volume = status->index = 0;
  // Only disk files have a size: not a console, a pipe or NUL.
  SetLastError(NO_ERROR);
  DWORD type = GetFileType(handle_of(f));
  if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
    return last_error();
  if (type != FILE_TYPE_DISK) return error();
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle_of(f), &information))
    return last_error();
  status->kind = information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY
                     ? file_status::directory
                     : file_status::measurable;
  status->volume = information.dwVolumeSerialNumber;
  status->index =
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
      information.nFileIndexLow;
  return error();
}

error seek_to_end(file f, std::uint64_t* position) {
  LARGE_INTEGER distance, end;
  distance.QuadPart = 0;
  if (!SetFilePointerEx(handle_of(f), distance, &end, FILE_END))
    return last_error();
  *position = static_cast<std::uint64_t>(end.QuadPart);
  return error();
}

error create_for_writing(const char* name, file* created) {
  HANDLE handle =
      CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error reason = last_error();
    // Windows denies access to a directory; say what it is, as POSIX does.
    DWORD attributes = GetFileAttributesA(name);
    if (reason.system_code == ERROR_ACCESS_DENIED &&
        attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return from_errno(EISDIR);
    return reason;
  }
  *created = reinterpret_cast<file>(handle);
  return error();
}

error write_all(file f, const char* bytes, std::size_t size) {
  while (size > 0) {
    DWORD part = size > 1u << 30 ? 1u << 30 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(handle_of(f), bytes, part, &written, nullptr))
      return last_error();
    bytes += written;
    size -= written;
  }
  return error();
}

error write_console(int descriptor, const char* bytes, std::size_t size) {
  // Standard output is in text mode: each LF goes out as CR LF.
  while (size > 0) {
    unsigned part = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
    int written = _write(descriptor, bytes, part);
    if (written < 0) return from_errno(errno);
    if (written == 0) return from_errno(EIO);
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return error();
}

error close_console(int descriptor) {
  if (_close(descriptor) != 0) return from_errno(errno);
  return error();
}

error truncate_to_empty(file f) {
  LARGE_INTEGER start;
  start.QuadPart = 0;
  if (!SetFilePointerEx(handle_of(f), start, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(handle_of(f)))
    return last_error();
  return error();
}

error close(file f) {
  if (!CloseHandle(handle_of(f))) return last_error();
  return error();
}

error read_input(int descriptor, char* buffer, std::size_t size,
                 std::size_t* count) {
  // Standard input is in text mode: a CR LF arrives as LF, and a Control-Z
  // typed at the console ends the input.
  unsigned part = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
  int got = _read(descriptor, buffer, part);
  if (got < 0) return from_errno(errno);
  *count = static_cast<std::size_t>(got);
  return error();
}

bool is_terminal(int descriptor) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
  DWORD mode;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace platform
