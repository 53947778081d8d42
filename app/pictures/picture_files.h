// The picture store's files: one bitmap per slot and one shared undo file,
// and the arithmetic that fits a picture into its thumbnail frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "layout.h"
#include "store/filesystem.h"

namespace quillet {

inline constexpr std::wstring_view kPictureFolder = L"C:\\ClipPics";
inline constexpr std::wstring_view kUndoPicturePath = L"C:\\ClipPics\\picUndo.bmp";

// "C:\ClipPics\pic1.bmp" for slot index 0 ... "pic10.bmp" for index 9.
std::wstring SlotPicturePath(int slot);

// Before a slot's picture changes: the old file becomes the undo file. Both
// steps are allowed to fail (no undo file yet, an empty slot).
void KeepPreviousPicture(FileSystem& fs, int slot);

// Where a picture W x H lands in a frame SW x SH: scaled to touch two
// opposite sides, proportions kept, centred the other way. A picture without
// width or height gets an empty rectangle.
TwipsRect FitPicture(double width, double height, double frameWidth, double frameHeight,
                     int margin);

// The integer division of the picture code: both operands rounded to whole
// numbers (halves to even) first, the quotient truncated toward zero.
long long IntegerDivide(double a, double b);

}  // namespace quillet

namespace quillet {

// A bitmap file ("BM" header, then the DIB) from a packed DIB as the
// clipboard holds it; empty when the DIB is malformed.
std::string BitmapFileOf(const std::vector<uint8_t>& dib);

}  // namespace quillet
