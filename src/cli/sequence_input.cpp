#include "cli/sequence_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>

namespace tavrola {
namespace {

constexpr const char* kStandardInput = "-";

InputSequence Refused(std::string sentence) {
    return {std::nullopt, std::move(sentence)};
}

// The dialog's refusals, and the one its fields cannot reach: a stretch past the end.
std::string RangeProblem(const ReadRange& range, std::int64_t size, const std::string& name) {
    switch (CheckTargetArea(range)) {
        case TargetAreaVerdict::kWrongRange:
            return "the range is wrong: END must come after START";
        case TargetAreaVerdict::kTooLarge:
            return "the range is too large: at most " + std::to_string(kLoadLimit) + " bytes";
        case TargetAreaVerdict::kAccepted:
            break;
    }
    if (range.end >= size) {
        return "the range reaches past the end of " + name + " (" + std::to_string(size) +
               " bytes)";
    }
    return {};
}

std::string TooLong(const std::string& name, const std::string& size) {
    return name + " holds " + size + " bytes, more than the " + std::to_string(kLoadLimit) +
           " a load takes: choose a stretch with --range START:END";
}

// Up to `count` bytes of standard input; how many there were, up to `count`.
std::string ReadStandardInput(std::FILE* in, std::size_t count, bool& failed) {
    std::string bytes(count, '\0');
    const std::size_t got = std::fread(bytes.data(), 1, count, in);
    failed = got < count && std::ferror(in) != 0;
    bytes.resize(got);
    return bytes;
}

InputSequence Parse(std::string_view bytes, const std::string& name) {
    BaseSequence sequence = ParseSequenceText(DecodeFileText(bytes));
    if (sequence.empty()) {
        return Refused(name + " holds no bases (A, C, G or T)");
    }
    return {std::move(sequence), {}};
}

}  // namespace

InputSequence ReadInputSequence(const std::string& input, const std::optional<ReadRange>& range,
                                std::FILE* standard_input) {
    if (input == kStandardInput) {
        const std::string name = "standard input";
        // No more is read than the load can take, or the range asks for.
        const std::size_t wanted = range ? static_cast<std::size_t>(range->end) + 1
                                         : static_cast<std::size_t>(kLoadLimit) + 1;
        bool failed = false;
        const std::string bytes = ReadStandardInput(standard_input, wanted, failed);
        if (failed) {
            return Refused("cannot read standard input: " + std::string(std::strerror(errno)));
        }
        if (!range) {
            return bytes.size() > static_cast<std::size_t>(kLoadLimit)
                       ? Refused(TooLong(name, "more than " + std::to_string(kLoadLimit)))
                       : Parse(bytes, name);
        }
        if (const std::string problem =
                RangeProblem(*range, static_cast<std::int64_t>(bytes.size()), name);
            !problem.empty()) {
            return Refused(problem);
        }
        return Parse(std::string_view(bytes).substr(static_cast<std::size_t>(range->start)), name);
    }

    const std::string name = "INPUT " + input;
    struct stat status {};
    if (::stat(input.c_str(), &status) != 0) {
        return Refused(errno == ENOENT ? name + " does not exist"
                                       : "cannot read " + name + ": " + std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return Refused(name + " is not a regular file (- reads standard input)");
    }
    const std::int64_t size = status.st_size;
    if (!range && size > kLoadLimit) {
        return Refused(TooLong(name, std::to_string(size)));
    }
    const ReadRange stretch = range.value_or(ReadRange{0, static_cast<std::int32_t>(size) - 1});
    if (range) {
        if (const std::string problem = RangeProblem(*range, size, name); !problem.empty()) {
            return Refused(problem);
        }
    }
    std::ifstream file(input, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(std::max(0, stretch.end - stretch.start + 1)), '\0');
    if (!file || !file.seekg(stretch.start) ||
        !file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return Refused("cannot read " + name + ": " + std::strerror(errno));
    }
    return Parse(bytes, name);
}

}  // namespace tavrola
