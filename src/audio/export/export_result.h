#pragma once

namespace tavrola {

// How writing an export's file ended, or why it may not start. Every failure leaves no file of
// its own behind and a file it was to replace as it was.
enum class ExportResult {
    kSuccess,
    kFolderNotWritable,  // no permission, or a read-only medium
    kFolderMissing,      // the folder went away after it was chosen
    kDiskFull,
    kFileTooLarge,        // more than the file system takes in one file
    kNameTooLong,         // more than the file system takes in one name
    kPerformanceTooLong,  // more than the file format can time
    kWriteFailed,         // any other failure of the system
    kCancelled,           // the user stopped it
    kWavTooLarge,         // a WAV file cannot hold more than 4 GiB
    kNotEnoughSpace,      // refused before starting: less free space than it would take
    kNoSoundFont,         // no General MIDI SoundFont to render the audio with
    // Refused before any work, for what the target's name stands for:
    kTargetIsFolder,         // a folder of that name
    kNotRegularFile,         // a device, a pipe or a socket of that name
    kDanglingLink,           // a symbolic link to nothing
    kLinkFolderNotWritable,  // a symbolic link into a folder that cannot be written
    kOthersFile,             // another user's file in a folder that keeps it theirs (/tmp)
    kTargetExists,           // a file of the name, not to be replaced (it may have appeared late)
};

// The failure that an errno of creating, writing, flushing or renaming a file stands for.
ExportResult ExportResultOfError(int error_number);

}  // namespace tavrola
