// Picture slots, a preview and a desktop for the picture commands' tests.
// The slots read the fake disk the way the window reads the real one: at the
// moment a file is loaded, so the order of the file steps shows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pictures/picture_files.h"
#include "pictures/picture_slots_view.h"
#include "pictures/preview_view.h"
#include "pictures/wallpaper.h"
#include "support/fake_filesystem.h"

namespace quillet::testing {

// A width x height 24-bit DIB whose pixels all hold `shade`.
inline std::vector<uint8_t> Dib(int width, int height, uint8_t shade) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> d(40 + static_cast<size_t>(stride) * height, 0);
    auto put32 = [&d](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    d[12] = 1;   // planes
    d[14] = 24;  // bits
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) d[40 + static_cast<size_t>(y) * stride + x] = shade;
    return d;
}

// What another picture format holds for these slots: a marker, then the
// DIB it decodes to. Anything else but a bitmap file does not decode.
inline std::string OtherFormat(const std::vector<uint8_t>& dib) {
    return "PICTURE:" + std::string(dib.begin(), dib.end());
}

class DiskPictureSlots final : public PictureSlotsView {
  public:
    explicit DiskPictureSlots(FakeFileSystem& fs) : fs_(fs) {}

    std::array<std::vector<uint8_t>, 10> dib;
    std::array<int, 10> fitted{};
    std::vector<std::wstring> loaded;  // every file asked for, in order
    int popups = 0;
    bool readsDibs = true;  // false: every DIB is of a kind the window cannot show

    bool LoadSlotPicture(int slot, const std::wstring& path) override {
        loaded.push_back(path);
        const FileRead read = fs_.ReadAll(path);
        if (read.status != FileRead::Status::kOk) return false;
        const std::optional<std::vector<uint8_t>> decoded = Decode(read.bytes);
        if (!decoded) return false;
        dib[slot] = *decoded;
        return true;
    }
    void FitSlotPicture(int slot) override { ++fitted[slot]; }
    std::vector<uint8_t> SlotPictureDib(int slot) const override { return dib[slot]; }
    bool SetSlotPicture(int slot, const std::vector<uint8_t>& d) override {
        dib[slot] = readsDibs ? d : std::vector<uint8_t>();
        return !dib[slot].empty();
    }
    void ShowPicturePopup() override { ++popups; }

    static std::optional<std::vector<uint8_t>> Decode(const std::string& bytes) {
        const std::string marker = "PICTURE:";
        if (bytes.compare(0, marker.size(), marker) == 0)
            return std::vector<uint8_t>(bytes.begin() + marker.size(), bytes.end());
        if (bytes.size() > 14 && bytes.compare(0, 2, "BM") == 0) {
            std::vector<uint8_t> d(bytes.begin() + 14, bytes.end());
            if (BitmapFileHeader(d) == bytes.substr(0, 14)) return d;
        }
        return std::nullopt;
    }

  private:
    FakeFileSystem& fs_;
};

class RecordingWallpaper final : public Wallpaper {
  public:
    std::wstring localFolder = L"C:\\Users\\me\\AppData\\Local";
    std::optional<std::wstring> refusal;  // the system's answer when it refuses
    struct Call {
        std::wstring path;
        bool persist;
        std::string fileThen;  // what the file held when the system was asked
    };
    std::vector<Call> calls;

    explicit RecordingWallpaper(FakeFileSystem& fs) : fs_(fs) {}
    IoResult SetWallpaper(const std::wstring& path, bool persist) override {
        const auto file = fs_.files.find(path);
        calls.push_back({path, persist, file == fs_.files.end() ? std::string() : file->second});
        return refusal ? IoResult::Failure(*refusal) : IoResult::Success();
    }
    std::wstring LocalDataFolder() override { return localFolder; }

  private:
    FakeFileSystem& fs_;
};

}  // namespace quillet::testing
