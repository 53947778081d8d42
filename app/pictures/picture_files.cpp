// Picture slot file names, the undo copy, bitmap files and the fitting of thumbnails.
#include "pictures/picture_files.h"

#include <cmath>

namespace quillet {

std::wstring SlotPicturePath(int slot) {
    return std::wstring(kPictureFolder) + L"\\pic" + std::to_wstring(slot + 1) + L".bmp";
}

IoResult KeepPreviousPicture(FileSystem& fs, int slot) {
    const std::wstring undo(kUndoPicturePath);
    if (fs.FileExists(undo))
        if (IoResult removed = fs.Remove(undo); !removed)
            return IoResult::Failure(L"The undo copy " + undo + L" cannot be replaced: " +
                                     removed.reason);
    const std::wstring path = SlotPicturePath(slot);
    if (!fs.FileExists(path)) return IoResult::Success();
    return fs.Rename(path, undo);
}

IoResult StoreSlotPicture(FileSystem& fs, int slot, std::string_view bitmapFile) {
    // The smallest bitmap file: its two headers and one pixel.
    if (bitmapFile.size() < 14 + 12 + 4 || bitmapFile.substr(0, 2) != "BM")
        return IoResult::Failure(L"The picture is not a bitmap that can be saved.");
    const std::wstring path = SlotPicturePath(slot);
    const std::wstring fresh = path + L".new";
    if (IoResult written = fs.ReplaceAtomically(fresh, bitmapFile); !written) {
        fs.Remove(fresh);
        return written;
    }
    const bool hadFile = fs.FileExists(path);
    if (IoResult kept = KeepPreviousPicture(fs, slot); !kept) {
        fs.Remove(fresh);
        return kept;
    }
    if (IoResult placed = fs.Rename(fresh, path); !placed) {
        // The old file goes back where it was; the undo file it replaced is lost.
        if (hadFile && !fs.FileExists(path)) fs.Rename(std::wstring(kUndoPicturePath), path);
        fs.Remove(fresh);
        return placed;
    }
    return IoResult::Success();
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

namespace quillet {

namespace {

uint32_t Little32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}
uint16_t Little16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BitmapFileOf(const std::vector<uint8_t>& dib) {
    std::string file = BitmapFileHeader(dib);
    if (file.empty()) return {};
    file.append(reinterpret_cast<const char*>(dib.data()), dib.size());
    return file;
}

std::string BitmapFileHeader(const std::vector<uint8_t>& dib) {
    if (dib.size() < 12) return {};
    const uint32_t headerSize = Little32(dib, 0);
    if (headerSize > dib.size()) return {};
    uint64_t tableBytes = 0;
    if (headerSize == 12) {  // BITMAPCOREHEADER: three-byte colours, no count
        const uint16_t bits = Little16(dib, 10);
        if (bits <= 8) tableBytes = 3ull << bits;
    } else if (headerSize >= 40) {
        const uint16_t bits = Little16(dib, 14);
        const uint32_t compression = Little32(dib, 16);
        const uint32_t used = Little32(dib, 32);
        if (used)
            tableBytes = 4ull * used;
        else if (bits <= 8)
            tableBytes = 4ull << bits;
        // The three masks of BI_BITFIELDS follow a plain info header.
        if (headerSize == 40 && compression == 3) tableBytes += 12;
    } else {
        return {};
    }
    const uint64_t offset = 14 + uint64_t{headerSize} + tableBytes;
    const uint64_t size = 14 + uint64_t{dib.size()};
    if (offset > size || size > 0xFFFFFFFFull) return {};
    std::string file = "BM";
    Put32(file, static_cast<uint32_t>(size));
    Put32(file, 0);  // two reserved words
    Put32(file, static_cast<uint32_t>(offset));
    return file;
}

}  // namespace quillet
