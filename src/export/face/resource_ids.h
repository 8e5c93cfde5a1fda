#pragma once

namespace tavrola {

// The program's pictures, named by the resource numbers the rest of the program uses.
inline constexpr int kProgramIcon = 128;
inline constexpr int kBackgroundBitmap = 129;
inline constexpr int kExitReleasedBitmap = 130;
inline constexpr int kTextBarPressedBitmap = 131;
inline constexpr int kTextBarReleasedBitmap = 132;
inline constexpr int kExitPressedBitmap = 133;

}  // namespace tavrola
