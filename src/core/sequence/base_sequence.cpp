#include "core/sequence/base_sequence.h"

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

// The length is a signed 32-bit number everywhere else in the program.
constexpr std::size_t kMaxBases =
    static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

}  // namespace

BaseSequence ParseSequenceText(std::string_view text) {
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
