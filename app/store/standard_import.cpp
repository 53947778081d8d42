// The one-time import of the Standard edition's data: the search, the
// question and the copy into the program's own settings file.
#include "store/standard_import.h"

namespace quillet {

namespace {

constexpr std::wstring_view kImportTitle = L"Import From Quillet Standard";
constexpr std::wstring_view kImportQuestion =
    L"Quillet Pro has detected the existence of the Standard version on this computer.\r\n\r\n"
    L"Would you like to import the data from the Standard version ? \r\n\r\n"
    L"Note 1: If you click No, you will not get another opportunity.\r\n"
    L"Note 2: You can run both versions with different data if you wish.";

}  // namespace

std::optional<std::wstring> FindStandardFile(const ProgramPlaces& places, FileSystem& fs) {
    const std::wstring candidates[] = {places.appDrive + std::wstring(kStandardFileName),
                                       places.appFolder + std::wstring(kStandardFileName),
                                       std::wstring(kStandardOldPath)};
    for (const std::wstring& candidate : candidates)
        if (fs.FileExists(std::filesystem::path(candidate))) return candidate;
    return std::nullopt;
}

std::optional<SettingsSnapshot> ReadStandardFile(FileSystem& fs, const TextCodec& codec,
                                                 const std::filesystem::path& path,
                                                 IoResult& failure) {
    SettingsFile::Loaded loaded;
    failure = SettingsFile(fs).LoadExisting(path, loaded);
    if (!failure) return std::nullopt;
    return SettingsSnapshot(std::move(loaded), codec);
}

std::wstring WithoutLeadingAmpersand(std::wstring_view caption) {
    if (!caption.empty() && caption.front() == L'&') caption.remove_prefix(1);
    return std::wstring(caption);
}

void AddImportedStore(const SettingsSnapshot& source, int store,
                      std::vector<Settings::Value>& values) {
    const std::string section = StoreSection(store);
    for (int i = 0; i < kSlotCount; ++i) {
        values.push_back({section, TextKey(i), source.Read(section, TextKey(i), L"")});
        values.push_back({section, TitleKey(i), source.Read(section, TitleKey(i), L"")});
    }
    const std::string caption = CaptionKey(store);
    values.push_back({std::string(kSettingsSection), caption,
                      WithoutLeadingAmpersand(source.Read(kSettingsSection, caption, L""))});
}

std::vector<Settings::Value> StandardImportValues(const SettingsSnapshot& source) {
    std::vector<Settings::Value> values;
    values.reserve(kImportedStores * (2 * kSlotCount + 1));
    for (int s = 1; s <= kImportedStores; ++s) AddImportedStore(source, s, values);
    return values;
}

bool StandardImport::FindAndOffer(const ProgramPlaces& places) {
    const std::optional<std::wstring> found = FindStandardFile(places, fs_);
    if (!found) return false;
    path_ = *found;
    if (!prompt_.AskYesNo(kImportTitle, kImportQuestion, Prompt::Icon::kQuestion)) return false;
    return Import();
}

// The source is read whole before anything is written, and everything goes
// into the settings file in one replacement: a source that cannot be read,
// or a write that fails, leaves the program's stores as they were.
bool StandardImport::Import() {
    IoResult read;
    const std::optional<SettingsSnapshot> source = ReadStandardFile(fs_, codec_, path_, read);
    if (!source) {
        prompt_.Tell(kImportTitle,
                     L"The data of Quillet Standard could not be read from\r\n" + path_ +
                         L"\r\n\r\n" + read.reason + L"\r\n\r\nNothing was imported.",
                     Prompt::Icon::kExclamation);
        return false;
    }

    progress_.ShowProgress(L"Importing...", L"Importing Data");
    std::vector<Settings::Value> values;
    for (int s = 1; s <= kImportedStores; ++s) {
        AddImportedStore(*source, s, values);
        progress_.ShowProgressBlock(s);
    }
    const IoResult written = stores_.File().WriteSettings(stores_.Path(), values);
    if (!written) {
        progress_.CloseProgress();
        prompt_.Tell(kImportTitle,
                     L"The data of Quillet Standard could not be written to the settings file\r\n" +
                         stores_.Path() + L"\r\n\r\n" + written.reason +
                         L"\r\n\r\nNothing was imported.",
                     Prompt::Icon::kCritical);
        return false;
    }
    progress_.SetProgressLabel(L"Importing completed");
    clock_.Wait(1000);
    progress_.CloseProgress();
    return true;
}

}  // namespace quillet
