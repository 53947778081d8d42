// The settings file engine: parsing, lookup, in-place edits and atomic writes.
#include "store/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>

#include "store/encoding.h"

namespace quillet {

namespace {

// The profile functions' notion of a blank; ^Z counts, as DOS editors left it.
bool IsBlank(char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

// The first CR or LF in [p, end), eight bytes at a time: slot texts make
// lines tens of thousands of bytes long, and this scan is most of a load.
const char* FindLineBreak(const char* p, const char* end) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    constexpr uint64_t kCr = kOnes * '\r', kLf = kOnes * '\n';
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        const uint64_t a = word ^ kCr, b = word ^ kLf;
        if ((((a - kOnes) & ~a) | ((b - kOnes) & ~b)) & kHighs) break;
        p += 8;
    }
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

// The profile functions hold names and values as C strings: a NUL ends one,
// and whatever follows it on the line is lost to them.
std::string_view CutAtNul(std::string_view s) {
    const size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// The profile functions drop one pair of enclosing quotes of either kind.
std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) {
    Parse();
}

void IniDocument::Parse() {
    sections_.clear();
    // Lines before the first header form a section of their own, found by
    // the empty name.
    sections_.emplace_back();
    sections_.back().named = true;
    const char* data = bytes_.data();
    const size_t n = bytes_.size();
    size_t pos = 0;
    if (n >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    // Keys added before the first header go after the mark, not before it.
    sections_.back().lastLineEnd = pos;

    while (pos < n) {
        const size_t lineBegin = pos;
        const size_t contentEnd = static_cast<size_t>(FindLineBreak(data + pos, data + n) - data);
        pos = contentEnd;
        while (pos < n && (data[pos] == '\r' || data[pos] == '\n')) ++pos;

        size_t s = lineBegin, e = contentEnd;
        while (s < e && IsBlank(data[s])) ++s;
        while (e > s && IsBlank(data[e - 1])) --e;
        if (s >= e) continue;

        if (data[s] == '[') {
            size_t close = e;
            while (close > s && data[close - 1] != ']') --close;
            if (close > s + 1) {
                Section section;
                section.named = true;
                section.nameBegin = s + 1;
                section.nameEnd = close - 1;
                while (section.nameBegin < section.nameEnd && IsBlank(data[section.nameBegin]))
                    ++section.nameBegin;
                while (section.nameEnd > section.nameBegin && IsBlank(data[section.nameEnd - 1]))
                    --section.nameEnd;
                section.lastLineEnd = contentEnd;
                sections_.push_back(std::move(section));
                continue;
            }
        }

        Entry entry;
        entry.lineBegin = lineBegin;
        entry.lineEnd = contentEnd;
        entry.keyBegin = s;
        const void* eq = std::memchr(data + s, '=', e - s);
        if (eq) {
            const size_t eqPos = static_cast<size_t>(static_cast<const char*>(eq) - data);
            size_t keyEnd = eqPos;
            while (keyEnd > s && IsBlank(data[keyEnd - 1])) --keyEnd;
            size_t vb = eqPos + 1;
            while (vb < e && IsBlank(data[vb])) ++vb;
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

// Blanks are trimmed before the cut at a NUL, as the profile functions do:
// "[s \0]" names the section "s ", which no lookup of "s" finds.
std::string_view IniDocument::NameOf(const Section& section) const {
    if (!section.addedName.empty()) return section.addedName;
    return CutAtNul(View(section.nameBegin, section.nameEnd));
}

std::string_view IniDocument::KeyOf(const Entry& entry) const {
    if (entry.added) return entry.addedKey;
    return CutAtNul(View(entry.keyBegin, entry.keyEnd));
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
    name = Trim(CutAtNul(name));
    for (Section& section : sections_)
        if (section.named && SameName(NameOf(section), name)) return &section;
    return nullptr;
}

IniDocument::Entry* IniDocument::FindEntry(Section& section, std::string_view key) {
    key = Trim(CutAtNul(key));
    for (Entry& entry : section.entries)
        if (SameName(KeyOf(entry), key)) return &entry;
    return nullptr;
}

std::optional<std::string_view> IniDocument::Find(std::string_view section,
                                                  std::string_view key) const {
    auto& self = const_cast<IniDocument&>(*this);
    Section* s = self.FindSection(section);
    if (!s) return std::nullopt;
    const Entry* entry = self.FindEntry(*s, key);
    if (!entry) return std::nullopt;
    if (entry->replaced) return StripQuotes(entry->newValue);
    if (!entry->hasValue) return std::nullopt;
    return StripQuotes(CutAtNul(View(entry->valueBegin, entry->valueEnd)));
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
    std::string stored = StoredForm(value);
    Section* s = FindSection(section);
    if (!s) {
        Section added;
        added.named = true;
        added.addedName = std::string(Trim(CutAtNul(section)));
        added.isNew = true;
        sections_.push_back(std::move(added));
        s = &sections_.back();
    }
    if (Entry* entry = FindEntry(*s, key)) {
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
    added.addedKey = std::string(Trim(CutAtNul(key)));
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
        r.pieces.push_back(bytes_);
        return r;
    }

    struct Splice {
        size_t begin, end;
        std::string text;
    };
    std::vector<Splice> splices;
    std::string appended;  // new sections go after everything else
    auto lineBreakAfter = [&](size_t contentEnd) {
        size_t p = contentEnd;
        if (p < bytes_.size() && bytes_[p] == '\r') ++p;
        if (p < bytes_.size() && bytes_[p] == '\n' && (p == contentEnd || bytes_[p - 1] == '\r'))
            ++p;
        return p;
    };

    for (const Section& section : sections_) {
        std::string insertion;
        for (const Entry& entry : section.entries) {
            if (!entry.replaced) continue;
            if (entry.added) {
                insertion += entry.addedKey;
                insertion += '=';
                insertion += entry.newValue;
                insertion += "\r\n";
            } else if (entry.hasValue) {
                splices.push_back({entry.tailBegin, entry.lineEnd, entry.newValue});
            } else {
                splices.push_back({entry.tailBegin, entry.lineEnd, '=' + entry.newValue});
            }
        }
        if (section.isNew) {
            appended += '[';
            appended += section.addedName;
            appended += "]\r\n";
            appended += insertion;
        } else if (!insertion.empty()) {
            const size_t at = lineBreakAfter(section.lastLineEnd);
            if (at == section.lastLineEnd) insertion.insert(0, "\r\n");  // last line had no break
            splices.push_back({at, at, std::move(insertion)});
        }
    }

    std::sort(splices.begin(), splices.end(),
              [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    IniDocument::Rendering r;
    const std::string_view all(bytes_);
    size_t copied = 0;
    for (Splice& sp : splices) {
        r.pieces.push_back(all.substr(copied, sp.begin - copied));
        r.pieces.push_back(r.owned.emplace_back(std::move(sp.text)));
        copied = sp.end;
    }
    r.pieces.push_back(all.substr(copied));
    if (!appended.empty()) {
        // The last byte may be a NUL (a crash leaves a tail of them); it still
        // ends a line that the new header must not continue.
        auto last = std::find_if(r.pieces.rbegin(), r.pieces.rend(),
                                 [](std::string_view piece) { return !piece.empty(); });
        if (last != r.pieces.rend() && last->back() != '\n' && last->back() != '\r')
            r.pieces.push_back("\r\n");
        r.pieces.push_back(r.owned.emplace_back(std::move(appended)));
    }
    return r;
}

IoResult SettingsFile::Read(const std::filesystem::path& path, Loaded& file) const {
    FileRead read = fs_.ReadAll(path);
    if (read.status == FileRead::Status::kError) return IoResult::Failure(read.reason);
    file.existed = read.status == FileRead::Status::kOk;
    file.unicode = IsUtf16File(read.bytes);
    file.document =
        IniDocument(file.unicode ? Utf8FromUtf16File(read.bytes) : std::move(read.bytes));
    return IoResult::Success();
}

SettingsFile::Loaded SettingsFile::Load(const std::filesystem::path& path) const {
    Loaded file;
    if (!Read(path, file)) file = Loaded();
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

IoResult SettingsFile::Write(const std::filesystem::path& path, const Loaded& file) {
    const IniDocument::Rendering rendering = file.document.Render();
    if (file.unicode) return fs_.ReplaceAtomically(path, Utf16FileFromUtf8(rendering.pieces));
    return fs_.ReplaceAtomically(path, rendering.pieces);
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
    std::vector<std::string> values;
    values.reserve(keys.size());
    for (const std::string& key : keys) {
        auto found = doc.Find(section, key);
        values.emplace_back(found ? *found : fallback);
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
