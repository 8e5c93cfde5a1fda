#include "core/sequence/file_loading.h"

#include <algorithm>

#include "core/sequence/sequence_file.h"

namespace tavrola {

namespace {

// The stretch to load of `size` positions or bytes: all of them when they fit a load, else the
// Target Area dialog's answer kept inside them (a record longer than the dialog's numbers can
// count offers what they can).
PositionRange ChooseStretch(std::int64_t size, const TargetAreaChooser& choose_range) {
    if (size <= kLoadLimit) {
        return {0, size - 1};
    }
    const auto counted = static_cast<std::int32_t>(std::min(size, kLargestFileSize));
    const ReadRange range = ClampReadRange(choose_range(kDefaultReadRange, counted), counted);
    return {range.start, range.end};
}

}  // namespace

SequenceReading LoadFileForDataBox(const std::filesystem::path& file,
                                   const RecordChooser& choose_record,
                                   const TargetAreaChooser& choose_range,
                                   const StopRequested& stop) {
    const SequenceLook look = LookAtSequenceFile(file, stop);
    SequenceReading reading;
    reading.format = look.format;
    reading.compressed = look.compressed;
    if (look.outcome == ReadOutcome::kInterrupted) {
        reading.outcome = look.outcome;
        return reading;
    }
    if (look.format == SequenceFormat::kRaw && !look.compressed) {
        reading.text = ReadSequenceFile(file, choose_range, &reading.file_read);
        // A file too large to be sized gets the size message and an empty box, read or not.
        reading.file_read = reading.file_read && look.size <= kLargestFileSize;
        return reading;
    }
    if (look.outcome != ReadOutcome::kOk) {
        reading.outcome = look.outcome;
        reading.system_error = look.system_error;
        reading.line = look.line;
        return reading;
    }
    if (look.format == SequenceFormat::kRaw) {
        return ReadRawStretch(file, ChooseStretch(look.size, choose_range), stop);
    }
    std::size_t index = 0;
    if (look.RecordCount() > 1) {
        const std::optional<std::size_t> chosen = choose_record(look);
        if (!chosen || *chosen >= look.records.size()) {
            reading.outcome = ReadOutcome::kCancelled;
            return reading;
        }
        index = *chosen;
    }
    const PositionRange stretch = ChooseStretch(look.records[index].length, choose_range);
    return ReadRecordStretch(file, static_cast<std::int64_t>(index), stretch, stop);
}

}  // namespace tavrola
