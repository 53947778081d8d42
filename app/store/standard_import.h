// The one-time import of the Standard edition's stores: where its file is
// looked for and what the import writes into the program's own file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main_view.h"
#include "store/Module1.h"
#include "store_session.h"

namespace quillet {

inline constexpr std::wstring_view kStandardFileName = L"quilexr.ini";
inline constexpr std::wstring_view kStandardOldPath = L"C:\\rem01.ini";
// The Standard edition has ten stores; they replace stores 1 ... 10.
inline constexpr int kImportedStores = 10;

// The first that exists of AppDrive + "quilexr.ini", AppFolder +
// "quilexr.ini" and "C:\rem01.ini"; nothing when none does.
std::optional<std::wstring> FindStandardFile(const ProgramPlaces& places, FileSystem& fs);

// The whole of the Standard edition's file, read once; nothing when it is
// missing or cannot be read, with the reason in `failure`.
std::optional<SettingsSnapshot> ReadStandardFile(FileSystem& fs, const TextCodec& codec,
                                                 const std::filesystem::path& path,
                                                 IoResult& failure);

// The Standard edition's menus took a leading "&" for an access key; one is
// dropped, so "&&x" keeps an ampersand.
std::wstring WithoutLeadingAmpersand(std::wstring_view caption);

// Store `store`'s twenty slot values and its caption as `source` holds
// them. Absent keys give empty values, so the store is replaced, not merged.
void AddImportedStore(const SettingsSnapshot& source, int store,
                      std::vector<Settings::Value>& values);

// The 210 values of the whole import, stores 1 ... 10 in order.
std::vector<Settings::Value> StandardImportValues(const SettingsSnapshot& source);

// The import as the program offers it at its first start. Each returns true
// when the program's settings file now holds the imported data.
class StandardImport {
  public:
    StandardImport(StoreSession& stores, Prompt& prompt, ProgressView& progress,
                   RegionalClock& clock, FileSystem& fs, const TextCodec& codec)
        : stores_(stores),
          prompt_(prompt),
          progress_(progress),
          clock_(clock),
          fs_(fs),
          codec_(codec) {}

    // Looks for the Standard edition's file and asks once whether to import it.
    bool FindAndOffer(const ProgramPlaces& places);
    // The source is read whole before anything is written, and everything
    // goes into the settings file in one replacement.
    bool Import();
    const std::wstring& Path() const { return path_; }

  private:
    StoreSession& stores_;
    Prompt& prompt_;
    ProgressView& progress_;
    RegionalClock& clock_;
    FileSystem& fs_;
    const TextCodec& codec_;
    std::wstring path_;  // the Standard edition's file that was found
};

}  // namespace quillet
