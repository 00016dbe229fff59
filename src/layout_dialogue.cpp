#include "layout_dialogue.h"

#include <cstdint>
#include <string_view>

#include "diagnostic.h"
#include "input_file.h"
#include "layout_writer.h"

constexpr std::string_view first_name_prompt =
    "Which file would you like to go first? ";
constexpr std::string_view another_file_prompt =
    "Would you like to add another file? [y/n] ";
constexpr std::string_view next_name_prompt =
    "Which file would you like to go next? ";
constexpr std::string_view closing_message = "XNQ successfully written.\n";

// The largest number that a layout file's 8 hex digits hold.
constexpr std::uint64_t largest_offset = 0xffffffff;

// The path buffer, holding the latest reply: a file name of at most 79
// bytes and a terminating zero.
struct reply {
  char path_buffer[80] = {};
  std::size_t length = 0;
};

static int print(console_output& console, std::string_view text) {
  if (platform::error failed = console.print(text))
    return report_failure(console, "write error", failed);
  return 0;
}

static int input_ended(console_output& console, const console_input& input) {
  switch (input.why_ended()) {
    case console_input::ending::read_failed:
      return report_failure(console, "read error", input.failure());
    case console_input::ending::write_failed:
      return report_failure(console, "write error", input.failure());
    default:
      return report_failure(console, "unexpected end of input");
  }
}

static int layout_write_failed(console_output& console,
                               platform::error reason) {
  return report_file_failure(console, "cannot write", layout_writer::file_name,
                             reason);
}

// Prints `prompt`, reads a reply and opens the file it names as the current
// input file. A user at a terminal who names a file that cannot be
// measured is told why and asked again.
static int ask_for_file(console_input& input, console_output& console,
                        std::string_view prompt, bool ask_again,
                        const layout_writer& layout, reply& name,
                        input_file& current) {
  for (;;) {
    if (print(console, prompt)) return 1;
    if (!input.read_reply(name.path_buffer, sizeof name.path_buffer,
                          &name.length))
      return input_ended(console, input);
    file_failure failure =
        current.open(name.path_buffer, name.length, layout.status());
    if (!failure) return 0;
    report_file_failure(console, failure, name.path_buffer);
    if (!ask_again) return 1;
  }
}

// Takes the size of the current input file and adds it to the running
// offset, refusing a total that the layout file cannot hold.
static int add_size(console_output& console, input_file& current,
                    const reply& name, std::uint64_t* running_offset) {
  std::uint64_t size = 0;
  if (file_failure failure = current.measure(&size))
    return report_file_failure(console, failure, name.path_buffer);
  if (size > largest_offset - *running_offset)
    return report_file_failure(
        console, "cannot list", name.path_buffer,
        "the total would pass 4 GiB, the limit of the layout format");
  *running_offset += size;
  return 0;
}

static int close_current(console_output& console, input_file& current,
                         const reply& name) {
  if (file_failure failure = current.close())
    return report_file_failure(console, failure, name.path_buffer);
  return 0;
}

int run_layout_dialogue(console_input& input, console_output& console,
                        bool ask_again) {
  reply name;
  // Kept in 64 bits so that a total past the format's 32 is caught, not
  // wrapped; add_size keeps it within them.
  std::uint64_t running_offset = 0;
  layout_writer layout;
  input_file current;
  platform::error reason;

  if ((reason = layout.create()))
    return report_file_failure(console, "cannot create",
                               layout_writer::file_name, reason);
  if ((reason = layout.write_version_line()))
    return layout_write_failed(console, reason);

  if (ask_for_file(input, console, first_name_prompt, ask_again, layout, name,
                   current))
    return 1;
  if ((reason = layout.write_entry_line(0, name.path_buffer, name.length)))
    return layout_write_failed(console, reason);

  for (;;) {
    if (print(console, another_file_prompt)) return 1;
    int answer = input.read_answer();
    if (answer == console_input::end_of_input)
      return input_ended(console, input);
    // Only a lowercase n ends the list.
    if (answer == 'n') break;

    if (add_size(console, current, name, &running_offset)) return 1;
    if (close_current(console, current, name)) return 1;

    if (ask_for_file(input, console, next_name_prompt, ask_again, layout, name,
                     current))
      return 1;
    if ((reason =
             layout.write_entry_line(static_cast<std::uint32_t>(running_offset),
                                     name.path_buffer, name.length)))
      return layout_write_failed(console, reason);
  }
  // The n may have been the input's last byte; a failed read or console
  // write after it still fails the dialogue.
  if (input.why_ended() == console_input::ending::read_failed ||
      input.why_ended() == console_input::ending::write_failed)
    return input_ended(console, input);

  if (add_size(console, current, name, &running_offset)) return 1;
  if ((reason =
           layout.write_end_line(static_cast<std::uint32_t>(running_offset))))
    return layout_write_failed(console, reason);
  if (close_current(console, current, name)) return 1;
  // Prompts that cannot reach the console fail the dialogue before the
  // layout file is made complete.
  if ((reason = console.flush()))
    return report_failure(console, "write error", reason);
  if ((reason = layout.close())) return layout_write_failed(console, reason);

  return print(console, closing_message);
}
