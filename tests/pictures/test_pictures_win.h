// Picture files made by the tests themselves, in every format the slots take,
// and a look at what a bitmap shows.
#pragma once

#include <windows.h>

#include <string>

namespace quillet::testing {

enum class PictureKind { kBmp, kGif, kJpeg, kPng, kTiff, kIcon, kCursor, kEmf, kWmf };

// A picture red on its left half and blue on its right. Icons, cursors and
// the PNG have a transparent right half instead, which reads as white.
std::string MakePicture(PictureKind kind, int width, int height);
const wchar_t* ExtensionOf(PictureKind kind);
// What the right half shows once read: blue, or white where it is transparent.
COLORREF RightHalfOf(PictureKind kind);

// The colour of a bitmap's pixel; CLR_INVALID outside it.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);
// Whether two colours differ by at most `tolerance` in each channel (JPEG).
bool Near(COLORREF a, COLORREF b, int tolerance);

// A 24-bit bitmap file of `width` x `height` whose pixel (x, y) is
// colour(x, y), for pictures with features in known places.
template <class Colour>
std::string BitmapFile(int width, int height, Colour colour) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const DWORD image = static_cast<DWORD>(stride) * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + image;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = image;
    std::string out(reinterpret_cast<const char*>(&file), sizeof file);
    out.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(static_cast<size_t>(stride), '\0');
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            row[3 * x] = static_cast<char>(GetBValue(c));
            row[3 * x + 1] = static_cast<char>(GetGValue(c));
            row[3 * x + 2] = static_cast<char>(GetRValue(c));
        }
        out += row;
    }
    return out;
}

}  // namespace quillet::testing
