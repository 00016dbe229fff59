/* The floor for "quilvex -v": a C program that prints the same four lines. */
#include <stdio.h>

int main(void) {
  fputs(
      "Quilvex version 1.0.0.0  Copyright (c) 2026 The Quilvex authors\n"
      "Function: Creates xnq file.\n"
      "Options:\n"
      "\t-v\tPrints the version number.\n",
      stdout);
  return fclose(stdout) != 0;
}
