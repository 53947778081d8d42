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
// Set as Wallpaper writes here; where the drive root refuses it, the same
// name goes in the user's local application data folder.
inline constexpr std::wstring_view kWallpaperPath = L"C:\\WallPaper.BMP";
inline constexpr std::wstring_view kWallpaperName = L"WallPaper.BMP";

// "C:\ClipPics\pic1.bmp" for slot index 0 ... "pic10.bmp" for index 9.
std::wstring SlotPicturePath(int slot);

// Before a slot's picture changes: the old file becomes the undo file, and a
// slot without a file leaves none. Fails, saying why, where Undo would then
// bring back another picture: an undo file that cannot be removed, or a slot
// file that cannot be moved.
IoResult KeepPreviousPicture(FileSystem& fs, int slot);

// A slot's new picture file, a whole bitmap file. The new file is written
// beside the slot file first, so a write that fails leaves the slot file
// and the undo file as they were; then the old file becomes the undo file
// (none when the slot had no file) and the new one takes its place.
IoResult StoreSlotPicture(FileSystem& fs, int slot, std::string_view bitmapFile);

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
// Only the 14 bytes that go before the DIB; empty when the DIB is malformed.
std::string BitmapFileHeader(const std::vector<uint8_t>& dib);

}  // namespace quillet
