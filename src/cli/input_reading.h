#pragma once

#include <unistd.h>

#include <optional>
#include <string>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_reader.h"

namespace tavrola {

// The sequence of a command line, or why there is none.
struct InputSequence {
    std::optional<BaseSequence> sequence;
    std::string error;   // one plain sentence when there is no sequence
    std::string notice;  // what was read of a file of records (the record, the stretch)
};

// Reads INPUT (a file, or "-" for the descriptor `standard_input`) through the one reader, in one
// pass, as `choice` asks, and parses the text as the Data dialog's OK parses its box: the
// window's 読込 of the same file, with the same record and stretch chosen, gives the same
// bases. --raw parses every A, C, G and T, headers and all. A wait for more input ends at once
// when `wake` becomes readable (a termination signal's pipe): the caller then asks the signal.
InputSequence ReadInputSequence(const std::string& input, const SinglePassRequest& choice,
                                int standard_input = STDIN_FILENO, int wake = -1);

}  // namespace tavrola
