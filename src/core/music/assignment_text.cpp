#include "core/music/assignment_text.h"

#include <cstddef>

namespace tavrola {
namespace {

// The base codes' letters, indexed by code.
constexpr std::string_view kBaseLetters = "CAGT";
// Where the Algorithm dialog starts its second and third rows.
constexpr std::size_t kSecondRow = 2;
constexpr std::size_t kThirdRow = 14;

bool IsGrouping(char c) {
    return c == '-' || c == ' ' || c == ',';
}

}  // namespace

std::string AssignmentText(const AssignmentTable& table) {
    std::string text;
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        if (slot == kSecondRow || slot == kThirdRow) {
            text.push_back('-');
        }
        const BaseCode base = table[slot];
        text.push_back(base >= 0 && base < 4 ? kBaseLetters[static_cast<std::size_t>(base)] : '?');
    }
    return text;
}

std::optional<AssignmentTable> ParseAssignmentText(std::string_view text) {
    AssignmentTable table{};
    std::size_t slot = 0;
    for (const char c : text) {
        if (IsGrouping(c)) {
            continue;
        }
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        const std::size_t base = kBaseLetters.find(upper);
        if (base == std::string_view::npos || slot >= table.size()) {
            return std::nullopt;
        }
        table[slot++] = static_cast<BaseCode>(base);
    }
    if (slot != table.size()) {
        return std::nullopt;
    }
    return table;
}

}  // namespace tavrola
