// The layout dialogue: asks on the console for a first file, then after each
// file whether another follows and which, measures every file named and has
// the layout writer list it with its offset, and at the end the total.
#ifndef QUILVEX_LAYOUT_DIALOGUE_H_
#define QUILVEX_LAYOUT_DIALOGUE_H_

#include "console_input.h"
#include "console_output.h"

// Returns 0 once a complete "out.xnq" has been written and the closing
// message printed to `console`. After a failure, reported on standard error,
// returns 1 and leaves "out.xnq" empty. With `ask_again` (a user at a
// terminal), a name that cannot be measured is reported and asked for again
// instead of ending the dialogue.
int run_layout_dialogue(console_input& input, console_output& console,
                        bool ask_again);

#endif  // QUILVEX_LAYOUT_DIALOGUE_H_
