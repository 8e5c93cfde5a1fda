#include "core/sequence/sequence_loading.h"

#include <algorithm>

#include "core/sequence/sequence_file.h"

namespace tavrola {

namespace {

// Length of the valid UTF-8 sequence starting at `at`, or 0 when it is not one (overlong forms,
// surrogates and code points above U+10FFFF are not valid).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    if (byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text.push_back(c);
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

}  // namespace

ReadRange ClampReadRange(ReadRange range, std::int32_t size) {
    if (size <= 0) {
        return {0, -1};
    }
    range.start = std::clamp(range.start, 0, size - 1);
    range.end = std::clamp(range.end, range.start - 1, size - 1);
    if (static_cast<std::int64_t>(range.end) - range.start + 1 > kLoadLimit) {
        range.end = range.start + kLoadLimit - 1;
    }
    return range;
}

SpinRange StartSpinRange(std::int32_t size) {
    return {0, size - 2};
}

SpinRange EndSpinRange(std::int32_t size) {
    return {1, size - 1};
}

TargetAreaVerdict CheckTargetArea(ReadRange range) {
    if (range.end <= range.start) {
        return TargetAreaVerdict::kWrongRange;
    }
    if (static_cast<std::int64_t>(range.end) - range.start + 1 > kLoadLimit) {
        return TargetAreaVerdict::kTooLarge;
    }
    return TargetAreaVerdict::kAccepted;
}

std::string TargetAreaMessage(TargetAreaVerdict verdict) {
    switch (verdict) {
        case TargetAreaVerdict::kWrongRange:
            return kWrongRangeMessage;
        case TargetAreaVerdict::kTooLarge:
            return kRangeTooLargeMessage;
        case TargetAreaVerdict::kAccepted:
            break;
    }
    return {};
}

std::filesystem::path DataFolder(const std::filesystem::path& working_directory) {
    return working_directory / "data";
}

std::string DecodeFileText(std::string_view bytes) {
    std::string_view text = bytes.substr(0, bytes.find('\0'));
    if (IsValidUtf8(text)) {
        return std::string(text);
    }
    // A byte-order mark says UTF-8 even where the rest is not: kept, it still makes FASTA
    // text of what follows, as it does in the bytes.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const bool marked = text.starts_with(kByteOrderMark);
    if (marked) {
        text.remove_prefix(kByteOrderMark.size());
    }
    return (marked ? std::string(kByteOrderMark) : std::string()) + Latin1ToUtf8(text);
}

std::string ReadSequenceFile(const std::filesystem::path& file,
                             const TargetAreaChooser& choose_range, bool* file_read) {
    const std::int32_t size = QueryFileSize(file);
    ReadRange range{0, size - 1};
    if (size > kLoadLimit) {
        range = ClampReadRange(choose_range(kDefaultReadRange, size), size);
    }
    std::string bytes;
    // The box gets only what was really read; a failed open leaves it empty.
    const bool read = ReadFileBytes(file, range.start, range.end - range.start + 1, bytes);
    if (file_read != nullptr) {
        *file_read = read;
    }
    return DecodeFileText(bytes);
}

}  // namespace tavrola
