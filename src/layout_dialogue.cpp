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
static const std::uint64_t largest_offset = 0xffffffff;

static int print(console_output& console, std::string_view text) {
  if (platform::error failed = console.print(text))
    return report_failure("write error", failed);
  return 0;
}

static int input_ended(const console_input& input) {
  switch (input.why_ended()) {
    case console_input::ending::read_failed:
      return report_failure("read error", input.failure());
    case console_input::ending::write_failed:
      return report_failure("write error", input.failure());
    default:
      return report_failure("unexpected end of input");
  }
}

static int layout_write_failed(platform::error reason) {
  return report_file_failure("cannot write", layout_writer::file_name, reason);
}

// Prints `prompt`, reads a reply into the path buffer and opens the file it
// names as the current input file. A user at a terminal who names a file
// that cannot be measured is told why and asked again.
static int ask_for_file(console_input& input, console_output& console,
                        std::string_view prompt, bool ask_again,
                        const layout_writer& layout, char* path_buffer,
                        std::size_t path_buffer_size, std::size_t* length,
                        input_file& current) {
  for (;;) {
    if (print(console, prompt)) return 1;
    if (!input.read_reply(path_buffer, path_buffer_size, length))
      return input_ended(input);
    file_failure failure = current.open(path_buffer, *length, layout.status());
    if (!failure) return 0;
    report_file_failure(failure, path_buffer);
    if (!ask_again) return 1;
  }
}

// Takes the size of the current input file and adds it to the running
// offset, refusing a total that the layout file cannot hold.
static int add_size(input_file& current, const char* name,
                    std::uint64_t* running_offset) {
  std::uint64_t size = 0;
  file_failure failure = current.measure(&size);
  if (failure) return report_file_failure(failure, name);
  if (size > largest_offset - *running_offset)
    return report_file_failure(
        "cannot list", name,
        "the total would pass 4 GiB, the limit of the layout format");
  *running_offset += size;
  return 0;
}

int run_layout_dialogue(console_input& input, console_output& console,
                        bool ask_again) {
  char path_buffer[80] = {};
  std::size_t length = 0;
  // Kept in 64 bits so that a total past the format's 32 is caught, not
  // wrapped; add_size keeps it within them.
  std::uint64_t running_offset = 0;
  layout_writer layout;
  input_file current;
  platform::error reason;
  file_failure failure;

  if ((reason = layout.create()))
    return report_file_failure("cannot create", layout_writer::file_name,
                               reason);
  if ((reason = layout.write_version_line()))
    return layout_write_failed(reason);

  if (ask_for_file(input, console, first_name_prompt, ask_again, layout,
                   path_buffer, sizeof path_buffer, &length, current))
    return 1;
  if ((reason = layout.write_entry_line(0, path_buffer, length)))
    return layout_write_failed(reason);

  for (;;) {
    if (print(console, another_file_prompt)) return 1;
    int answer = input.read_answer();
    if (answer == console_input::end_of_input) return input_ended(input);
    // Only a lowercase n ends the list.
    if (answer == 'n') break;

    if (add_size(current, path_buffer, &running_offset)) return 1;
    if ((failure = current.close()))
      return report_file_failure(failure, path_buffer);

    if (ask_for_file(input, console, next_name_prompt, ask_again, layout,
                     path_buffer, sizeof path_buffer, &length, current))
      return 1;
    if ((reason = layout.write_entry_line(
             static_cast<std::uint32_t>(running_offset), path_buffer, length)))
      return layout_write_failed(reason);
  }
  // The n may have been the input's last byte; a failed read or console
  // write after it still fails the dialogue.
  if (input.why_ended() == console_input::ending::read_failed ||
      input.why_ended() == console_input::ending::write_failed)
    return input_ended(input);

  if (add_size(current, path_buffer, &running_offset)) return 1;
  if ((reason =
           layout.write_end_line(static_cast<std::uint32_t>(running_offset))))
    return layout_write_failed(reason);
  if ((failure = current.close()))
    return report_file_failure(failure, path_buffer);
  // Prompts that cannot reach the console fail the dialogue before the
  // layout file is made complete.
  if ((reason = console.flush())) return report_failure("write error", reason);
  if ((reason = layout.close())) return layout_write_failed(reason);

  return print(console, closing_message);
}
