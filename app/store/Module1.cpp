// Settings access for the program: keys, the file's place, number rules, typed reads and writes.
#include "store/Module1.h"

#include <algorithm>
#include <cmath>

namespace quillet {

std::string StoreSection(int store) {
    return "Savings" + std::to_string(store);
}
std::string TextKey(int slot) {
    return "txt(" + std::to_string(slot) + ")";
}
std::string TitleKey(int slot) {
    return "txtTitle(" + std::to_string(slot) + ")";
}
std::string TitleWriteKey(int slot) {
    return "txttitle(" + std::to_string(slot) + ")";
}
std::string CaptionKey(int store) {
    return "StoreCaption" + std::to_string(store);
}
std::vector<std::string> StoreKeys() {
    std::vector<std::string> keys;
    for (int i = 0; i < kSlotCount; ++i) {
        keys.push_back(TextKey(i));
        keys.push_back(TitleKey(i));
    }
    return keys;
}

std::wstring DefaultCaption(int store) {
    return std::to_wstring(store) + L" Store";
}

namespace {
std::wstring WithBackslash(std::wstring_view folder) {
    std::wstring path(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}
}  // namespace

ProgramPlaces PlacesOf(std::wstring_view programFolder, std::wstring_view userDataFolder) {
    ProgramPlaces places;
    places.appFolder = WithBackslash(programFolder);
    places.appDrive = places.appFolder.substr(0, 3);
    if (!userDataFolder.empty())
        places.userFolder = WithBackslash(WithBackslash(userDataFolder) + L"Quillet Pro");
    return places;
}

std::wstring ChooseSettingsPath(const ProgramPlaces& places, std::wstring_view fileName,
                                FileSystem& fs) {
    const std::wstring candidates[] = {places.appDrive + std::wstring(fileName),
                                       places.appFolder + std::wstring(fileName),
                                       std::wstring(kFallbackFolder) + std::wstring(fileName)};
    for (const std::wstring& candidate : candidates)
        if (fs.FileExists(std::filesystem::path(candidate))) return candidate;
    const std::wstring user = places.userFolder + std::wstring(fileName);
    if (!places.userFolder.empty() && fs.FileExists(std::filesystem::path(user))) return user;
    return candidates[0];
}

namespace {

// The number a setting's text rounds to, within [low, high].
std::optional<double> RoundedWhole(std::wstring_view text, double low, double high) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == L' ' || text[b] == L'\t')) ++b;
    while (e > b && (text[e - 1] == L' ' || text[e - 1] == L'\t')) --e;
    if (b == e) return std::nullopt;
    bool negative = false;
    if (text[b] == L'-' || text[b] == L'+') {
        negative = text[b] == L'-';
        ++b;
    }
    double whole = 0;
    double fraction = 0, scale = 0.1;
    bool digits = false, point = false;
    for (size_t i = b; i < e; ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') {
            digits = true;
            if (point) {
                fraction += (c - L'0') * scale;
                scale /= 10;
            } else {
                whole = whole * 10 + (c - L'0');
                if (whole > 1e12) return std::nullopt;
            }
        } else if (c == L'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    double value = whole + fraction;
    value = std::nearbyint(value);  // the default rounding mode: halves to even
    if (negative) value = -value;
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int16_t> ToInt16(std::wstring_view text) {
    const std::optional<double> v = RoundedWhole(text, -32768, 32767);
    if (!v) return std::nullopt;
    return static_cast<int16_t>(*v);
}

std::optional<int32_t> ToInt32(std::wstring_view text) {
    const std::optional<double> v = RoundedWhole(text, -2147483648.0, 2147483647.0);
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::wstring SettingsSnapshot::Read(std::string_view section, std::string_view key,
                                    std::wstring_view fallback) const {
    // An empty value counts as absent, whatever the profile functions say.
    const std::optional<std::string_view> raw = document_.FindInFile(section, key);
    if (!raw || raw->empty()) return std::wstring(ProfileDefault(fallback));
    if (unicode_) return WideFromUtf8(DecodeLineBreaks(Utf8FromUtf16(*raw), kUtf8Marker));
    return codec_->FromBytes(DecodeLineBreaks(*raw));
}

std::vector<std::wstring> SettingsSnapshot::ReadMany(std::string_view section,
                                                     const std::vector<std::string>& keys) const {
    std::vector<std::wstring> values;
    values.reserve(keys.size());
    for (const std::string& key : keys) values.push_back(Read(section, key, L""));
    return values;
}

SettingsSnapshot Settings::Snapshot(const std::filesystem::path& path) const {
    return SettingsSnapshot(file_.Load(path), codec_);
}

std::wstring Settings::ReadSetting(const std::filesystem::path& path, std::string_view section,
                                   std::string_view key, std::wstring_view fallback) const {
    return Snapshot(path).Read(section, key, fallback);
}

std::vector<std::wstring> Settings::ReadSettings(const std::filesystem::path& path,
                                                 std::string_view section,
                                                 const std::vector<std::string>& keys) const {
    return Snapshot(path).ReadMany(section, keys);
}

IoResult Settings::WriteSetting(const std::filesystem::path& path, std::string_view section,
                                std::string_view key, std::wstring_view value) {
    return WriteSettings(path, {{std::string(section), std::string(key), std::wstring(value)}});
}

std::string Settings::Encode(std::wstring_view value, bool unicode) const {
    if (unicode) return EncodeLineBreaks(Utf8FromWide(value), kUtf8Marker);
    return EncodeLineBreaks(codec_.ToBytes(value), kByteMarker);
}

namespace {

// A file in the code page as UTF-8; the marker's two bytes stay the marker,
// whatever the code page makes of them.
std::string Utf8FromCodePage(std::string_view bytes, const TextCodec& codec) {
    std::string out;
    out.reserve(bytes.size());
    size_t from = 0;
    for (size_t at = bytes.find(kByteMarker);; at = bytes.find(kByteMarker, from)) {
        const size_t end = at == std::string_view::npos ? bytes.size() : at;
        out += Utf8FromWide(codec.FromBytes(bytes.substr(from, end - from)));
        if (at == std::string_view::npos) break;
        out += kUtf8Marker;
        from = at + kByteMarker.size();
    }
    return out;
}

}  // namespace

IoResult Settings::WriteSettings(const std::filesystem::path& path,
                                 const std::vector<Value>& values) {
    return file_.Update(path, [&](SettingsFile::Loaded& file) {
        bool changed = !file.existed && !values.empty();
        if (!file.unicode) {
            const bool fits = std::all_of(values.begin(), values.end(), [&](const Value& v) {
                return codec_.Represents(v.value);
            });
            if (!fits) {
                std::string_view bytes = file.document.Bytes();
                // The mark an editor may put first would become text before
                // the first section's header, and hide that section.
                if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
                file.document = IniDocument(Utf16FileFromUtf8(Utf8FromCodePage(bytes, codec_)));
                file.unicode = changed = true;
            }
        }
        for (const Value& v : values)
            changed = file.document.Set(v.section, v.key, Encode(v.value, file.unicode)) || changed;
        return changed;
    });
}

}  // namespace quillet
