#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tavrola {

// At most this many bytes of a file go into the Data dialog's box per load.
inline constexpr std::int32_t kLoadLimit = 8192;

// The Target Area dialog's refusals.
inline constexpr const char* kWrongRangeMessage = "指定範囲に誤りがあります。";
inline constexpr const char* kRangeTooLargeMessage = "指定範囲が大きすぎます。";

// A stretch of a file: positions of its first and last byte, both inclusive.
struct ReadRange {
    std::int32_t start = 0;
    std::int32_t end = 0;
    friend bool operator==(const ReadRange&, const ReadRange&) = default;
};

// The range a long file starts with: its first kLoadLimit bytes.
inline constexpr ReadRange kDefaultReadRange{0, kLoadLimit - 1};

// Bounds of a spin field, inclusive.
struct SpinRange {
    std::int32_t low = 0;
    std::int32_t high = 0;
    friend bool operator==(const SpinRange&, const SpinRange&) = default;
};

// What the Target Area fields may hold for a file of `size` bytes (more than kLoadLimit):
// start 0 to size - 2, end 1 to size - 1. Kept to these, no range reaches past the file.
SpinRange StartSpinRange(std::int32_t size);
SpinRange EndSpinRange(std::int32_t size);

// The range as a read uses it: inside `size` and at most kLoadLimit long, empty (end before
// start) when `size` is 0. The Target Area dialog already keeps to this; a chooser that does not
// must still read nothing outside the file.
ReadRange ClampReadRange(ReadRange range, std::int32_t size);

enum class TargetAreaVerdict { kAccepted, kWrongRange, kTooLarge };

// The end must lie after the start, and the range may hold at most kLoadLimit bytes; checked in
// that order.
TargetAreaVerdict CheckTargetArea(ReadRange range);

// The refusal text of a verdict; empty for kAccepted.
std::string TargetAreaMessage(TargetAreaVerdict verdict);

// Where the open-file chooser starts: the data folder under the working directory, with no
// doubled separator at the filesystem root.
std::filesystem::path DataFolder(const std::filesystem::path& working_directory);

// The text for the box from the bytes read: it ends at the first zero byte; valid UTF-8 stays
// as it is, anything else is taken byte for byte as Latin-1 (after a UTF-8 byte-order mark,
// which stays one). Either way the result is valid UTF-8 and holds exactly the ASCII letters of
// the bytes, so the parse counts the same bases.
std::string DecodeFileText(std::string_view bytes);

// Asks which stretch of a file of `size` bytes to load, starting from `given`; gives back the
// range to read, however the asking ended.
using TargetAreaChooser = std::function<ReadRange(ReadRange given, std::int32_t size)>;

// One load from a chosen file: the size, the range (asking for it when the file is longer than
// the limit), the read of that range only, and the decoded text for the box. Failures are shown
// through ShowMessage; a file that could not be read gives the bytes that were read, often none,
// and sets `file_read`, when given, to false (true otherwise).
std::string ReadSequenceFile(const std::filesystem::path& file,
                             const TargetAreaChooser& choose_range, bool* file_read = nullptr);

}  // namespace tavrola
