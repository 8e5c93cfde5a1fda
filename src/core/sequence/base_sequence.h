#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tavrola {

// A nucleotide as the program holds it. The order C, A, G, T is not alphabetical; the
// Algorithm dialog and the helix colours index their tables with it.
using BaseCode = std::int32_t;
inline constexpr BaseCode kCytosine = 0;
inline constexpr BaseCode kAdenine = 1;
inline constexpr BaseCode kGuanine = 2;
inline constexpr BaseCode kThymine = 3;

// The bases of one strand in text order. "No sequence yet" (before the Data dialog first
// closes) is an empty optional; an empty text gives a present but empty sequence.
using BaseSequence = std::vector<BaseCode>;

// Whether a text is FASTA: its first character, after an optional UTF-8 byte-order mark and
// blank space, is '>'.
bool StartsAsFasta(std::string_view text);

// Any text but FASTA: keeps the bytes A, C, G, T in either case and drops every other byte, each
// judged by itself (multi-byte characters are never decoded).
// FASTA text: a line whose first character other than a blank is '>' is a header and never
// plays; in the other lines A, C, G, T and U in either case are bases, U as T (the record is
// RNA), and every other byte is dropped.
BaseSequence ParseSequenceText(std::string_view text);

// The parse as designed for every text, FASTA or not: each byte A, C, G, T in either case is a
// base (the command line's --raw reads files as the design did, headers and all).
BaseSequence ParseBaseLetters(std::string_view text);

// Every parse replaces the sequence, also with an empty one.
void ParseSequenceText(std::string_view text, std::optional<BaseSequence>& sequence);

// Defined for the codes 0 to 3: C with G, A with T.
BaseCode ComplementBase(BaseCode base);

// The one-letter lowercase label of a base: "c", "a", "g" or "t".
const char* BaseLetter(BaseCode base);

// Sequence length as the program counts it: a signed 32-bit number, 0 without a sequence.
std::int32_t SequenceLength(const std::optional<BaseSequence>& sequence);

}  // namespace tavrola
