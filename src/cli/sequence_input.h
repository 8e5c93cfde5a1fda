#pragma once

#include <unistd.h>

#include <optional>
#include <string>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_loading.h"

namespace tavrola {

// The sequence of a command line, or why there is none.
struct InputSequence {
    std::optional<BaseSequence> sequence;
    std::string error;     // one plain sentence when there is no sequence
    bool stopped = false;  // a read of standard input was ended by `stop`
};

// Reads INPUT as the Data dialog's Load reads a file and its OK parses the box: a regular file
// (or, for "-", the descriptor `standard_input`), all of it up to 8192 bytes, else only the
// stretch `range` names, checked as the Target Area dialog checks it; the text ends at a NUL
// byte and every A, C, G and T in either case is a base. A text without a base is refused.
// Standard input is read in pieces of at most 8192 bytes, however far the range lies, and a
// wait for more of it ends at once when `stop` becomes readable (a termination signal's pipe).
InputSequence ReadInputSequence(const std::string& input, const std::optional<ReadRange>& range,
                                int standard_input = STDIN_FILENO, int stop = -1);

}  // namespace tavrola
