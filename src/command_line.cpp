#include "command_line.h"

#include <cstring>

bool asks_for_version(int argc, const char* const* argv) {
  return argc == 2 && std::strcmp(argv[1], "-v") == 0;
}

platform::error print_version_text(console_output& console) {
  return console.print(
      "Quilvex version 1.0.0.0  Copyright (c) 2026 The Quilvex "
      "authors\n"
      "Function: Creates xnq file.\n"
      "Options:\n"
      "\t-v\tPrints the version number.\n");
}
