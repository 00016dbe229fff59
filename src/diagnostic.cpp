#include "diagnostic.h"

#include <cstdio>

int report_failure(console_output& console, const char* what, const char* why) {
  // A console that cannot be written has its own report.
  (void)console.flush();
  if (why)
    std::fprintf(stderr, "quilvex: %s: %s\n", what, why);
  else
    std::fprintf(stderr, "quilvex: %s\n", what);
  return 1;
}

int report_failure(console_output& console, const char* what,
                   platform::error why) {
  char text[256];
  return report_failure(console, what,
                        platform::describe(why, text, sizeof text));
}

int report_file_failure(console_output& console, const char* what,
                        const char* name, const char* why) {
  (void)console.flush();
  std::fprintf(stderr, "quilvex: %s \"%s\": %s\n", what, name, why);
  return 1;
}

int report_file_failure(console_output& console, const char* what,
                        const char* name, platform::error why) {
  char text[256];
  return report_file_failure(console, what, name,
                             platform::describe(why, text, sizeof text));
}

int report_file_failure(console_output& console, const file_failure& failure,
                        const char* name) {
  if (failure.explanation)
    return report_file_failure(console, failure.what, name,
                               failure.explanation);
  return report_file_failure(console, failure.what, name, failure.reason);
}
