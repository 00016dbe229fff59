#include "diagnostic.h"

#include <cstdio>

int report_failure(const char* what, const char* why) {
  if (why)
    std::fprintf(stderr, "quilvex: %s: %s\n", what, why);
  else
    std::fprintf(stderr, "quilvex: %s\n", what);
  return 1;
}

int report_failure(const char* what, platform::error why) {
  char text[256];
  return report_failure(what, platform::describe(why, text, sizeof text));
}

int report_file_failure(const char* what, const char* name, const char* why) {
  std::fprintf(stderr, "quilvex: %s \"%s\": %s\n", what, name, why);
  return 1;
}

int report_file_failure(const char* what, const char* name,
                        platform::error why) {
  char text[256];
  return report_file_failure(what, name,
                             platform::describe(why, text, sizeof text));
}

int report_file_failure(const file_failure& failure, const char* name) {
  if (failure.explanation)
    return report_file_failure(failure.what, name, failure.explanation);
  return report_file_failure(failure.what, name, failure.reason);
}
