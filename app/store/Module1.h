// Settings access for the whole program: ReadSetting/WriteSetting, the file's
// location, its keys, and the number rules for values read from it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/encoding.h"
#include "store/filesystem.h"
#include "store/settings.h"

namespace quillet {

inline constexpr std::wstring_view kProgramTitle = L"Quillet Pro";
inline constexpr std::wstring_view kSettingsFileName = L"quilbdx.ini";
inline constexpr std::wstring_view kFallbackFolder = L"C:\\";
inline constexpr std::string_view kSettingsSection = "Settings";

inline constexpr int kStoreCount = 16;  // store 0 is the Pictures store
inline constexpr int kSlotCount = 10;
inline constexpr int16_t kPicturesStore = 0;

std::string StoreSection(int store);  // "Savings" + n
std::string TextKey(int slot);        // "txt(" + i + ")"
std::string TitleKey(int slot);       // "txtTitle(" + i + ")"
std::string TitleWriteKey(int slot);  // "txttitle(" + i + ")", as the save writes it
std::string CaptionKey(int store);    // "StoreCaption" + n
// The twenty keys of a store as they are read: text and title of each slot.
std::vector<std::string> StoreKeys();
std::wstring DefaultCaption(int store);  // n + " Store"

// The folder of the program with a backslash at its end, its drive root,
// and the program's folder in the user's roaming application data (empty
// when unknown), where a normal user may always create the settings file.
struct ProgramPlaces {
    std::wstring appFolder;
    std::wstring appDrive;
    std::wstring userFolder;
};
ProgramPlaces PlacesOf(std::wstring_view programFolder, std::wstring_view userDataFolder = {});

// The first existing of drive root, program folder, C:\ and the user's
// folder, else the drive root.
std::wstring ChooseSettingsPath(const ProgramPlaces& places, std::wstring_view fileName,
                                FileSystem& fs);

// A value as a 16-bit whole number the way the program converts it: blanks
// around it, a sign and a decimal fraction (rounded half to even) allowed;
// anything else, or a number outside -32768..32767, does not convert.
std::optional<int16_t> ToInt16(std::wstring_view text);
// The same into 32 bits: window positions and widths in twips outgrow 16 bits
// beyond about 2,184 pixels.
std::optional<int32_t> ToInt32(std::wstring_view text);

// The values of one read of the file, decoded as ReadSetting decodes them:
// start-up asks for dozens of keys of a file that may hold megabytes.
class SettingsSnapshot {
  public:
    SettingsSnapshot(SettingsFile::Loaded file, const TextCodec& codec)
        : document_(std::move(file.document)),
          unicode_(file.unicode),
          read_(std::move(file.read)),
          codec_(&codec) {}

    // A file that exists but could not be read gives every fallback; nothing
    // may be shown as stored, or saved, on the strength of that.
    bool Readable() const { return read_.ok; }
    const std::wstring& Failure() const { return read_.reason; }

    // An absent or empty value reads as ProfileDefault(fallback).
    std::wstring Read(std::string_view section, std::string_view key,
                      std::wstring_view fallback) const;
    std::vector<std::wstring> ReadMany(std::string_view section,
                                       const std::vector<std::string>& keys) const;

  private:
    IniDocument document_;
    bool unicode_;
    IoResult read_;
    const TextCodec* codec_;
};

// ReadSetting/WriteSetting: values in the user's characters, line breaks
// kept through the marker. The file stays in the system's code page as long
// as every value fits it; a value that does not turns the whole file into
// the profile functions' Unicode form, which it keeps from then on.
class Settings {
  public:
    Settings(FileSystem& fs, const TextCodec& codec) : file_(fs), codec_(codec) {}

    std::wstring ReadSetting(const std::filesystem::path& path, std::string_view section,
                             std::string_view key, std::wstring_view fallback) const;
    std::vector<std::wstring> ReadSettings(const std::filesystem::path& path,
                                           std::string_view section,
                                           const std::vector<std::string>& keys) const;
    SettingsSnapshot Snapshot(const std::filesystem::path& path) const;

    // The program goes on whatever the outcome; callers that must tell the
    // user look at the result.
    IoResult WriteSetting(const std::filesystem::path& path, std::string_view section,
                          std::string_view key, std::wstring_view value);

    struct Value {
        std::string section;
        std::string key;
        std::wstring value;
    };
    IoResult WriteSettings(const std::filesystem::path& path, const std::vector<Value>& values);

  private:
    std::string Encode(std::wstring_view value, bool unicode) const;
    SettingsFile file_;
    const TextCodec& codec_;
};

}  // namespace quillet
