// Failure messages: one line on standard error, "quilvex: what: why", in the
// manner of err(3). Each function first writes out what has been printed on
// the console, so that the message comes after the prompts before it, and
// returns 1, the exit status of a failure.
#ifndef QUILVEX_DIAGNOSTIC_H_
#define QUILVEX_DIAGNOSTIC_H_

#include "console_output.h"
#include "platform.h"

// A failure concerning one named file: what failed, and why, either in the
// tool's own words or as the system gave it.
struct file_failure {
  const char* what = nullptr;
  const char* explanation = nullptr;
  platform::error reason;

  explicit operator bool() const { return what != nullptr; }
};

// "quilvex: what: why"; without a reason, "quilvex: what".
int report_failure(console_output& console, const char* what,
                   const char* why = nullptr);
int report_failure(console_output& console, const char* what,
                   platform::error why);

// "quilvex: what "name": why", naming a file as the user typed it.
int report_file_failure(console_output& console, const char* what,
                        const char* name, const char* why);
int report_file_failure(console_output& console, const char* what,
                        const char* name, platform::error why);
int report_file_failure(console_output& console, const file_failure& failure,
                        const char* name);

#endif  // QUILVEX_DIAGNOSTIC_H_
