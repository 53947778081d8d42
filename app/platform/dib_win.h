// Plain device-independent bitmaps: no compression and no colour table, the
// kind the program makes for itself.
#pragma once

#include <windows.h>

#include "base/handles_win.h"

namespace quillet {

// The header of a plain DIB of `bits` per pixel: rows bottom-up, or
// top-down when `height` is negative, as Windows reads it.
inline BITMAPINFOHEADER PlainDibHeader(LONG width, LONG height, WORD bits) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = BI_RGB;
    return header;
}

// A DIB section of that kind, and where its pixels are; empty when it could
// not be made.
inline UniqueBitmap NewDibSection(LONG width, LONG height, WORD bits, void** pixels) {
    BITMAPINFO info{};
    info.bmiHeader = PlainDibHeader(width, height, bits);
    *pixels = nullptr;
    UniqueBitmap dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0));
    if (!*pixels) return {};
    return dib;
}

}  // namespace quillet
