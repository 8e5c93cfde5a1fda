#pragma once

#include <functional>

namespace tavrola {

// What reading a sequence file came to. The reader says what happened; the front ends word it
// (the window in Japanese, the command line in English).
enum class ReadOutcome {
    kOk,
    // The window's record list was closed with Esc: nothing changes.
    kCancelled,

    // The input itself.
    kCannotOpen,      // the name cannot be opened for reading (system_error says why)
    kNotRegularFile,  // a folder, FIFO, socket or device: only regular files are read
    kReadError,       // a read failed after the open (system_error says why)
    kInterrupted,     // a read was ended by a signal or a stop request
    kTooLarge,        // compressed text that unpacks to 2 GiB or more, past what a raw load sizes

    // Damage: the file is not what it claims to be.
    kGzipCutShort,           // gzip data that ends before its last member does
    kGzipDamaged,            // gzip data that does not unpack
    kRecordNotEnded,         // a GenBank or EMBL record without its closing "//"
    kHeaderWithoutSequence,  // a record with no position at all
    kNulByte,                // a zero byte in a FASTA, GenBank or EMBL text
    kLineTooLong,            // a header or ID line longer than kLongestHeaderLine

    // The choice does not fit the file.
    kUnknownRecord,          // no record answers to the name asked for
    kRecordChoiceOnRawFile,  // a record or a region asked of a file that holds no records
    kRangeOnRecordFile,      // a byte range asked of a file of records (positions are asked)
    kStretchNeeded,          // longer than a load takes, and no stretch was given
    kWrongStretch,           // the end does not lie after the start, or the start before 0
    kStretchTooLarge,        // more than a load takes
    kStretchPastEnd,         // the stretch reaches past the end of the record or the text
};

// Asked between reads, and when a signal interrupts one: true ends the reading at once with
// kInterrupted. Without one, an interrupted read ends the reading too.
using StopRequested = std::function<bool()>;

}  // namespace tavrola
