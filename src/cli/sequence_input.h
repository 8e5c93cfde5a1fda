#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "core/sequence/base_sequence.h"
#include "core/sequence/sequence_loading.h"

namespace tavrola {

// The sequence of a command line, or why there is none.
struct InputSequence {
    std::optional<BaseSequence> sequence;
    std::string error;  // one plain sentence when there is no sequence
};

// Reads INPUT as the Data dialog's Load reads a file and its OK parses the box: a regular file
// (or, for "-", `standard_input`), all of it up to 8192 bytes, else only the stretch `range`
// names, checked as the Target Area dialog checks it; the text ends at a NUL byte and every A,
// C, G and T in either case is a base. A text without a base is refused.
InputSequence ReadInputSequence(const std::string& input, const std::optional<ReadRange>& range,
                                std::FILE* standard_input = stdin);

}  // namespace tavrola
