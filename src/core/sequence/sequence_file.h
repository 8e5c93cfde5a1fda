#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tavrola {

// The file layer's failure texts, shown through ShowMessage.
inline constexpr const char* kFileSizeMessage =
    "CGeneralFile:ファイルサイズを取得できませんでした。";
inline constexpr const char* kFileOpenMessage = "CGeneralFile:ファイルをオープンできませんでした。";
inline constexpr const char* kFileReadMessage = "CGeneralFile:ファイルを読み込めませんでした。";

// Sizes are signed 32-bit numbers in the loading rules, so a file of 2 GiB or more has no
// size the rules can use.
inline constexpr std::int64_t kLargestFileSize = 0x7FFFFFFF;

// The size of the file in bytes, or 0:
// - the name cannot be looked up: the size message, then 0;
// - a folder, FIFO, socket or device: 0 without a message (only regular files are read);
// - a regular file of 2 GiB or more: the size message, then 0.
std::int32_t QueryFileSize(const std::filesystem::path& path);

// Reads up to `count` bytes starting at byte `offset` of a regular file into `bytes`, which then
// holds exactly the bytes really read (fewer when the file is shorter than the range, for
// instance because it shrank since its size was taken). A file that cannot be opened, or is not
// a regular file, gives the open message, no bytes and false. A read error after a successful
// open gives the read message and keeps the bytes read before it. Never blocks on a FIFO or
// device: those are refused before anything is read.
bool ReadFileBytes(const std::filesystem::path& path, std::int64_t offset, std::int32_t count,
                   std::string& bytes);

}  // namespace tavrola
