#include "core/sequence/base_sequence.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tavrola {

namespace {

// -1 for every byte that is not a base letter.
constexpr std::array<std::int8_t, 256> MakeByteToBase() {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    table['C'] = table['c'] = kCytosine;
    table['A'] = table['a'] = kAdenine;
    table['G'] = table['g'] = kGuanine;
    table['T'] = table['t'] = kThymine;
    return table;
}

constexpr std::array<std::int8_t, 256> kByteToBase = MakeByteToBase();

// FASTA records may be RNA: there U is a base, played as T.
constexpr std::array<std::int8_t, 256> MakeFastaByteToBase() {
    std::array<std::int8_t, 256> table = MakeByteToBase();
    table['U'] = table['u'] = kThymine;
    return table;
}

constexpr std::array<std::int8_t, 256> kFastaByteToBase = MakeFastaByteToBase();

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// The FASTA parse: each line judged by its first character other than a blank.
BaseSequence ParseFastaText(std::string_view text, std::size_t limit) {
    BaseSequence bases;
    bool line_start = true;
    bool header = false;
    for (std::size_t i = 0; i < text.size() && bases.size() < limit; ++i) {
        const char c = text[i];
        if (IsLineBreak(c)) {
            line_start = true;
            header = false;
            continue;
        }
        if (line_start && (c == ' ' || c == '\t')) {
            continue;
        }
        if (line_start) {
            line_start = false;
            header = c == '>';
        }
        const std::int8_t base = kFastaByteToBase[static_cast<unsigned char>(c)];
        if (!header && base >= 0) {
            bases.push_back(base);
        }
    }
    return bases;
}

// The length is a signed 32-bit number everywhere else in the program.
constexpr std::size_t kMaxBases =
    static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

}  // namespace

bool StartsAsFasta(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    return first != text.end() && *first == '>';
}

BaseSequence ParseSequenceText(std::string_view text) {
    if (StartsAsFasta(text)) {
        if (text.starts_with(kByteOrderMark)) {
            text.remove_prefix(kByteOrderMark.size());
        }
        return ParseFastaText(text, kMaxBases);
    }
    return ParseBaseLetters(text);
}

BaseSequence ParseBaseLetters(std::string_view text) {
    std::size_t count = 0;
    for (unsigned char byte : text) {
        count += kByteToBase[byte] >= 0 ? 1 : 0;
    }
    BaseSequence bases;
    bases.reserve(count < kMaxBases ? count : kMaxBases);
    for (unsigned char byte : text) {
        const std::int8_t base = kByteToBase[byte];
        if (base >= 0) {
            if (bases.size() == kMaxBases) {
                break;
            }
            bases.push_back(base);
        }
    }
    return bases;
}

void ParseSequenceText(std::string_view text, std::optional<BaseSequence>& sequence) {
    sequence = ParseSequenceText(text);
}

BaseCode ComplementBase(BaseCode base) {
    static constexpr std::array<BaseCode, 4> kComplement = {kGuanine, kThymine, kCytosine,
                                                            kAdenine};
    return kComplement[static_cast<std::size_t>(base) & 3U];
}

const char* BaseLetter(BaseCode base) {
    static constexpr std::array<const char*, 4> kLetters = {"c", "a", "g", "t"};
    return kLetters[static_cast<std::size_t>(base) & 3U];
}

std::int32_t SequenceLength(const std::optional<BaseSequence>& sequence) {
    return sequence ? static_cast<std::int32_t>(sequence->size()) : 0;
}

}  // namespace tavrola
