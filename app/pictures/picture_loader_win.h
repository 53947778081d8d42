// Picture files of every kind the picture slots take, read into bitmaps.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/handles_win.h"

namespace quillet {

// Reads the whole file and closes it, then decodes it: a plain bitmap file
// directly, GIF, JPEG, PNG, TIFF, icons, cursors and the rest of what the
// Windows Imaging Component reads through it, and what that lacks (Windows
// and enhanced metafiles) through the system's picture loader. The result is
// a DIB section: the file's own depth for a plain bitmap file, else 24 bits,
// where transparent parts are laid on white. Empty when nothing could read
// the file: missing, not a picture, damaged, or too large to hold.
UniqueBitmap LoadPictureFile(const std::wstring& path);

// The same for a file already in memory.
UniqueBitmap DecodePicture(const unsigned char* bytes, size_t size);

// The size of a bitmap in pixels; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// A bitmap file of the bitmap, 32 bits where it has them, else 24, made in
// one piece; empty when it cannot be read.
std::string BitmapFileBytes(HBITMAP bitmap);

}  // namespace quillet
