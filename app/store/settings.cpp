// The settings file engine: parsing, lookup, in-place edits and atomic writes.
#include "store/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>

#include "store/encoding.h"

namespace quillet {

namespace {

// A file's text is code units: its bytes, or for a file in the Unicode form
// the pairs of bytes of UTF-16LE. Positions are byte offsets either way.
template <size_t W>
char32_t UnitAt(const char* data, size_t at) {
    const auto low = static_cast<unsigned char>(data[at]);
    if constexpr (W == 1) {
        return low;
    } else {
        return low | static_cast<char32_t>(static_cast<unsigned char>(data[at + 1])) << 8;
    }
}

char32_t UnitAt(std::string_view text, size_t at, size_t width) {
    return width == 1 ? UnitAt<1>(text.data(), at) : UnitAt<2>(text.data(), at);
}

// The profile functions' notion of a blank; ^Z counts, as DOS editors left it.
bool IsBlank(char32_t c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

char32_t FoldCase(char32_t c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

bool SameName(std::string_view a, std::string_view b, size_t width) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i += width)
        if (FoldCase(UnitAt(a, i, width)) != FoldCase(UnitAt(b, i, width))) return false;
    return true;
}

template <class Char>
std::basic_string_view<Char> WithoutTrailingSpaces(std::basic_string_view<Char> s) {
    while (!s.empty() && s.back() == Char(' ')) s.remove_suffix(1);
    return s;
}

// The first CR or LF in [at, end), eight bytes at a time: slot texts make
// lines tens of thousands of characters long, and this scan is most of a load.
template <size_t W>
size_t FindLineBreak(const char* data, size_t at, size_t end) {
    // One lane per code unit; the files and every Windows machine are little-endian.
    constexpr uint64_t kOnes = W == 1 ? 0x0101010101010101ULL : 0x0001000100010001ULL;
    constexpr uint64_t kHighs = kOnes << (8 * W - 1);
    constexpr uint64_t kCr = kOnes * '\r', kLf = kOnes * '\n';
    while (end - at >= 8) {
        uint64_t word;
        std::memcpy(&word, data + at, 8);
        const uint64_t a = word ^ kCr, b = word ^ kLf;
        if ((((a - kOnes) & ~a) | ((b - kOnes) & ~b)) & kHighs) break;
        at += 8;
    }
    while (at < end && UnitAt<W>(data, at) != '\r' && UnitAt<W>(data, at) != '\n') at += W;
    return at;
}

// The profile functions hold names and values as C strings: a NUL ends one,
// and whatever follows it on the line is lost to them.
std::string_view CutAtNul(std::string_view s, size_t width = 1) {
    if (width == 1) return s.substr(0, s.find('\0'));
    for (size_t i = 0; i < s.size(); i += width)
        if (UnitAt(s, i, width) == 0) return s.substr(0, i);
    return s;
}

std::string_view Trim(std::string_view s, size_t width = 1) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(UnitAt(s, b, width))) b += width;
    while (e > b && IsBlank(UnitAt(s, e - width, width))) e -= width;
    return s.substr(b, e - b);
}

// The profile functions drop one pair of enclosing quotes of either kind.
std::string_view StripQuotes(std::string_view v, size_t width) {
    if (v.size() < 2 * width) return v;
    const char32_t first = UnitAt(v, 0, width);
    if ((first == '"' || first == '\'') && UnitAt(v, v.size() - width, width) == first)
        return v.substr(width, v.size() - 2 * width);
    return v;
}

}  // namespace

IniDocument::IniDocument(FileBytes bytes) : content_(std::move(bytes)) {
    if (IsUtf16File(content_.View())) {
        width_ = 2;
        Parse<2>();
    } else {
        Parse<1>();
    }
}

std::string_view IniDocument::Text() const {
    const std::string_view bytes = Bytes();
    return bytes.substr(0, bytes.size() - bytes.size() % width_);  // an odd last byte is no unit
}

template <size_t W>
void IniDocument::Parse() {
    sections_.clear();
    // Lines before the first header form a section no name reaches, not even
    // the empty one: Windows finds "" at a "[]" header. Writes never add to it.
    sections_.emplace_back();
    const std::string_view text = Text();
    const char* data = text.data();
    const size_t n = text.size();
    auto unit = [data](size_t at) { return UnitAt<W>(data, at); };
    size_t pos = 0;
    if constexpr (W == 1) {
        if (n >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    } else {
        pos = kUtf16Mark.size();
    }
    start_ = pos;

    while (pos < n) {
        const size_t lineBegin = pos;
        const size_t contentEnd = FindLineBreak<W>(data, pos, n);
        pos = contentEnd;
        while (pos < n && (unit(pos) == '\r' || unit(pos) == '\n')) pos += W;

        size_t s = lineBegin, e = contentEnd;
        while (s < e && IsBlank(unit(s))) s += W;
        while (e > s && IsBlank(unit(e - W))) e -= W;
        if (s >= e) continue;

        if (unit(s) == '[') {
            size_t close = e;
            while (close > s && unit(close - W) != ']') close -= W;
            if (close > s + W) {
                Section section;
                section.named = true;
                section.nameBegin = s + W;
                section.nameEnd = close - W;
                while (section.nameBegin < section.nameEnd && IsBlank(unit(section.nameBegin)))
                    section.nameBegin += W;
                while (section.nameEnd > section.nameBegin && IsBlank(unit(section.nameEnd - W)))
                    section.nameEnd -= W;
                section.lastLineEnd = contentEnd;
                sections_.push_back(std::move(section));
                continue;
            }
        }

        Entry entry;
        entry.lineBegin = lineBegin;
        entry.lineEnd = contentEnd;
        entry.keyBegin = s;
        size_t eqPos = s;
        if constexpr (W == 1) {
            const void* eq = std::memchr(data + s, '=', e - s);
            eqPos = eq ? static_cast<size_t>(static_cast<const char*>(eq) - data) : e;
        } else {
            while (eqPos < e && unit(eqPos) != '=') eqPos += W;
        }
        if (eqPos < e) {
            size_t keyEnd = eqPos;
            while (keyEnd > s && IsBlank(unit(keyEnd - W))) keyEnd -= W;
            size_t vb = eqPos + W;
            while (vb < e && IsBlank(unit(vb))) vb += W;
            entry.keyEnd = keyEnd;
            entry.hasValue = true;
            entry.valueBegin = vb;
            entry.valueEnd = e;
            entry.tailBegin = vb;
        } else {
            entry.keyEnd = e;
            entry.tailBegin = e;
        }
        Section& current = sections_.back();
        current.entries.push_back(std::move(entry));
        current.lastLineEnd = contentEnd;
    }
}

std::string IniDocument::Native(std::string text) const {
    if (width_ == 1) return text;
    return Utf16FromUtf8(text);
}

// Names from callers are trimmed and cut at a NUL before they become the
// file's units; blanks and NUL are the same characters in both forms.
std::string IniDocument::NativeName(std::string_view name) const {
    return Native(std::string(Trim(CutAtNul(name))));
}

// Blanks are trimmed before the cut at a NUL, as the profile functions do:
// "[s \0]" names the section "s ", which no lookup of "s" finds.
std::string_view IniDocument::NameOf(const Section& section) const {
    if (section.isNew) return section.addedName;
    return CutAtNul(View(section.nameBegin, section.nameEnd), width_);
}

std::string_view IniDocument::KeyOf(const Entry& entry) const {
    if (entry.added) return entry.addedKey;
    return CutAtNul(View(entry.keyBegin, entry.keyEnd), width_);
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
    for (Section& section : sections_)
        if (section.named && SameName(NameOf(section), name, width_)) return &section;
    return nullptr;
}

IniDocument::Entry* IniDocument::FindEntry(Section& section, std::string_view key) {
    for (Entry& entry : section.entries)
        if (SameName(KeyOf(entry), key, width_)) return &entry;
    return nullptr;
}

std::optional<std::string_view> IniDocument::FindInFile(std::string_view section,
                                                        std::string_view key) const {
    auto& self = const_cast<IniDocument&>(*this);
    Section* s = self.FindSection(NativeName(section));
    if (!s) return std::nullopt;
    const Entry* entry = self.FindEntry(*s, NativeName(key));
    if (!entry) return std::nullopt;
    if (entry->replaced) return StripQuotes(entry->newValue, width_);
    if (!entry->hasValue) return std::nullopt;
    return StripQuotes(CutAtNul(View(entry->valueBegin, entry->valueEnd), width_), width_);
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const std::optional<std::string_view> value = FindInFile(section, key);
    if (!value) return std::nullopt;
    return width_ == 1 ? std::string(*value) : Utf8FromUtf16(*value);
}

std::string IniDocument::StoredForm(std::string_view value) {
    // What follows a NUL would never be read back.
    std::string line = EncodeLineBreaks(CutAtNul(value));
    const bool blankEdge = !line.empty() && (IsBlank(line.front()) || IsBlank(line.back()));
    const bool quoted = line.size() >= 2 && (line.front() == '"' || line.front() == '\'') &&
                        line.back() == line.front();
    if (blankEdge || quoted) return '"' + line + '"';
    return line;
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string stored = Native(StoredForm(value));
    std::string name = NativeName(section);
    Section* s = FindSection(name);
    if (!s) {
        Section added;
        added.named = true;
        added.addedName = std::move(name);
        added.isNew = true;
        sections_.push_back(std::move(added));
        s = &sections_.back();
    }
    std::string keyName = NativeName(key);
    if (Entry* entry = FindEntry(*s, keyName)) {
        const std::string_view current =
            entry->replaced
                ? std::string_view(entry->newValue)
                : (entry->hasValue ? View(entry->valueBegin, entry->valueEnd) : std::string_view());
        if ((entry->replaced || entry->hasValue) && current == stored) return false;
        entry->replaced = true;
        entry->newValue = std::move(stored);
        ++edits_;
        return true;
    }
    Entry added;
    added.added = true;
    added.replaced = true;
    added.addedKey = std::move(keyName);
    added.newValue = std::move(stored);
    s->entries.push_back(std::move(added));
    ++edits_;
    return true;
}

std::string IniDocument::Serialize() const {
    const Rendering r = Render();
    size_t total = 0;
    for (std::string_view piece : r.pieces) total += piece.size();
    std::string out;
    out.reserve(total);
    for (std::string_view piece : r.pieces) out += piece;
    return out;
}

IniDocument::Rendering IniDocument::Render() const {
    if (edits_ == 0) {
        Rendering r;
        r.pieces.push_back(Bytes());
        return r;
    }

    // New text between begin and end: a lead ("=" or a line break) and the
    // rest, both pointing into the entries or into the rendering's own strings.
    struct Splice {
        size_t begin, end;
        std::string_view lead, text;
    };
    IniDocument::Rendering r;
    std::vector<Splice> splices;
    std::string appended;  // new sections go after everything else
    const std::string_view all = Text();
    const size_t w = width_;
    // The file's own characters around names and values, in its form.
    auto put = [w](std::string& out, std::string_view ascii) {
        for (char c : ascii) {
            out += c;
            if (w == 2) out += '\0';
        }
    };
    auto lineBreakAfter = [&](size_t contentEnd) {
        size_t p = contentEnd;
        if (p < all.size() && UnitAt(all, p, w) == '\r') p += w;
        if (p < all.size() && UnitAt(all, p, w) == '\n' &&
            (p == contentEnd || UnitAt(all, p - w, w) == '\r'))
            p += w;
        return p;
    };

    for (const Section& section : sections_) {
        std::string insertion;
        for (const Entry& entry : section.entries) {
            if (!entry.replaced) continue;
            if (entry.added) {
                insertion += entry.addedKey;
                put(insertion, "=");
                insertion += entry.newValue;
                put(insertion, "\r\n");
            } else if (entry.hasValue) {
                splices.push_back({entry.tailBegin, entry.lineEnd, {}, entry.newValue});
            } else {
                std::string& equals = r.owned.emplace_back();
                put(equals, "=");
                splices.push_back({entry.tailBegin, entry.lineEnd, equals, entry.newValue});
            }
        }
        if (section.isNew) {
            put(appended, "[");
            appended += section.addedName;
            put(appended, "]\r\n");
            appended += insertion;
        } else if (!insertion.empty()) {
            const size_t at = lineBreakAfter(section.lastLineEnd);
            std::string_view lead;
            if (at == section.lastLineEnd) {  // the last line had no break
                std::string& lineBreak = r.owned.emplace_back();
                put(lineBreak, "\r\n");
                lead = lineBreak;
            }
            splices.push_back({at, at, lead, r.owned.emplace_back(std::move(insertion))});
        }
    }

    std::sort(splices.begin(), splices.end(),
              [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    size_t copied = 0;
    for (const Splice& sp : splices) {
        r.pieces.push_back(all.substr(copied, sp.begin - copied));
        if (!sp.lead.empty()) r.pieces.push_back(sp.lead);
        r.pieces.push_back(sp.text);
        copied = sp.end;
    }
    r.pieces.push_back(all.substr(copied));
    if (!appended.empty()) {
        // The last unit may be a NUL (a crash leaves a tail of them); it still
        // ends a line that the new header must not continue. A byte-order mark
        // alone is no line.
        size_t length = 0;
        for (std::string_view piece : r.pieces) length += piece.size();
        auto last = std::find_if(r.pieces.rbegin(), r.pieces.rend(),
                                 [w](std::string_view piece) { return piece.size() >= w; });
        if (length > start_ && last != r.pieces.rend()) {
            const char32_t end = UnitAt(*last, last->size() - w, w);
            if (end != '\n' && end != '\r') {
                std::string lineBreak;
                put(lineBreak, "\r\n");
                r.pieces.push_back(r.owned.emplace_back(std::move(lineBreak)));
            }
        }
        r.pieces.push_back(r.owned.emplace_back(std::move(appended)));
    }
    return r;
}

std::string_view ProfileDefault(std::string_view fallback) {
    return WithoutTrailingSpaces(fallback);
}

std::wstring_view ProfileDefault(std::wstring_view fallback) {
    return WithoutTrailingSpaces(fallback);
}

IoResult SettingsFile::Read(const std::filesystem::path& path, Loaded& file,
                            bool forReplace) const {
    FileContent read = forReplace ? fs_.ReadForReplace(path) : FileContent(fs_.ReadAll(path));
    if (read.status == FileRead::Status::kError) return IoResult::Failure(read.reason);
    file.existed = read.status == FileRead::Status::kOk;
    file.document = IniDocument(std::move(read.bytes));
    file.unicode = file.document.Utf16();
    return IoResult::Success();
}

SettingsFile::Loaded SettingsFile::Load(const std::filesystem::path& path) const {
    Loaded file;
    if (IoResult read = Read(path, file); !read) {
        file = Loaded();
        file.read = std::move(read);
    }
    return file;
}

IoResult SettingsFile::LoadExisting(const std::filesystem::path& path, Loaded& file) const {
    file = Loaded();
    IoResult read = Read(path, file);
    if (read && !file.existed)
        read = IoResult::Failure(L"The system cannot find the file specified.");
    if (!read) file = Loaded();
    return read;
}

IoResult SettingsFile::Write(const std::filesystem::path& path, Loaded& file) {
    const IniDocument::Rendering rendering = file.document.Render();
    return fs_.ReplaceAtomically(path, rendering.pieces, file.document.Content());
}

std::string SettingsFile::ReadRaw(const std::filesystem::path& path, std::string_view section,
                                  std::string_view key, std::string_view fallback) const {
    return ReadRawMany(path, section, {std::string(key)}, fallback).front();
}

std::vector<std::string> SettingsFile::ReadRawMany(const std::filesystem::path& path,
                                                   std::string_view section,
                                                   const std::vector<std::string>& keys,
                                                   std::string_view fallback) const {
    const IniDocument doc = Load(path).document;
    const std::string_view absent = ProfileDefault(fallback);
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string& key : keys) {
        auto found = doc.Find(section, key);
        values.push_back(found ? std::move(*found) : std::string(absent));
    }
    return values;
}

IoResult SettingsFile::WriteRawMany(const std::filesystem::path& path,
                                    const std::vector<SettingWrite>& writes) {
    return Update(path, [&writes](Loaded& file) {
        bool changed = !file.existed && !writes.empty();
        for (const SettingWrite& w : writes)
            changed = file.document.Set(w.section, w.key, w.value) || changed;
        return changed;
    });
}

IoResult SettingsFile::WriteRaw(const std::filesystem::path& path, std::string_view section,
                                std::string_view key, std::string_view value) {
    return WriteRawMany(path, {{std::string(section), std::string(key), std::string(value)}});
}

}  // namespace quillet
