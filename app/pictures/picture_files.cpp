#include "pictures/picture_files.h"

#include <cmath>

namespace quillet {

std::wstring SlotPicturePath(int slot) {
    return std::wstring(kPictureFolder) + L"\\pic" + std::to_wstring(slot + 1) + L".bmp";
}

void KeepPreviousPicture(FileSystem& fs, int slot) {
    fs.Remove(std::wstring(kUndoPicturePath));
    fs.Rename(SlotPicturePath(slot), std::wstring(kUndoPicturePath));
}

long long IntegerDivide(double a, double b) {
    const auto ra = static_cast<long long>(std::nearbyint(a));
    const auto rb = static_cast<long long>(std::nearbyint(b));
    if (rb == 0) return 0;
    return ra / rb;  // C++ truncates toward zero
}

TwipsRect FitPicture(double width, double height, double frameWidth, double frameHeight,
                     int margin) {
    if (!(width > 0) || !(height > 0) || !(frameWidth > 0) || !(frameHeight > 0)) return {};
    const double ratio = width / height;
    const double frameRatio = frameWidth / frameHeight;
    double w = 0, h = 0;
    if (frameRatio >= ratio) {
        h = frameHeight - 2.0 * margin;
        w = h * ratio;
    } else {
        w = frameWidth - 2.0 * margin;
        h = w / ratio;
    }
    TwipsRect r;
    r.left = static_cast<int>(IntegerDivide(frameWidth - w, 2));
    r.top = static_cast<int>(IntegerDivide(frameHeight - h, 2));
    r.width = static_cast<int>(std::lround(w));
    r.height = static_cast<int>(std::lround(h));
    return r;
}

}  // namespace quillet
