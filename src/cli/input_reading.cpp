#include "cli/input_reading.h"

#include <filesystem>
#include <utility>

#include "cli/cli_sentences.h"
#include "cli/standard_input_source.h"

namespace tavrola {

InputSequence ReadInputSequence(const std::string& input, const SinglePassRequest& choice,
                                int standard_input, int wake) {
    const bool from_standard_input = input == "-";
    SequenceReading reading;
    if (from_standard_input) {
        WakeableInputSource source(standard_input, wake);
        reading = ReadSequenceInOnePass(source, choice);
    } else {
        reading = ReadSequenceInOnePass(std::filesystem::path(input), choice,
                                        [wake] { return WakeDescriptorReady(wake); });
    }
    const std::string name = from_standard_input ? "standard input" : "INPUT " + input;
    InputSequence read;
    if (reading.outcome != ReadOutcome::kOk) {
        read.error = ReadFailureLine(reading, name, choice);
        return read;
    }
    BaseSequence sequence =
        choice.raw ? ParseBaseLetters(reading.text) : ParseSequenceText(reading.text);
    if (sequence.empty()) {
        read.error = NoBasesLine(reading, name);
        return read;
    }
    read.sequence = std::move(sequence);
    read.notice = RecordReadLine(reading);
    return read;
}

}  // namespace tavrola
