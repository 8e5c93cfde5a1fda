#pragma once

namespace tavrola {

// How an export ended. Every failure leaves no file of its own behind and a file it was to
// replace as it was.
enum class ExportResult {
    kWritten,
    kFolderNotWritable,  // no permission, or a read-only medium
    kFolderMissing,      // the folder went away after it was chosen
    kDiskFull,
    kFileTooLarge,        // more than the file system takes in one file
    kPerformanceTooLong,  // more than the file format can time
    kWriteFailed,         // any other failure of the system
    kCancelled,           // the user stopped it
    kWavTooLarge,         // a WAV file cannot hold more than 4 GiB
    kNotEnoughSpace,      // refused before starting: less free space than it would take
    kNoSoundFont,         // no General MIDI SoundFont to render the audio with
};

// The sentence the window shows for a failed export; empty for kWritten and kCancelled.
const char* ExportResultMessage(ExportResult result);

// The failure that an errno of creating, writing, flushing or renaming a file stands for.
ExportResult ExportResultOfError(int error_number);

}  // namespace tavrola
