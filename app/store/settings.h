// The settings file engine: reads and writes the INI format of the Windows
// profile functions, byte for byte compatible with them in both directions.
#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/filesystem.h"

namespace quillet {

// A parsed view of one settings file, in the code page's bytes or in the
// profile functions' Unicode form (UTF-16LE after the mark FF FE), which is
// parsed as it stands. Names and values come and go as the code page's bytes,
// or as UTF-8 for a file in the Unicode form. Lookups follow the profile
// functions: names match without regard to case and with blanks around them
// ignored, only the first section of a name counts, and within it the first
// key; a NUL ends the name or value it stands in, not the line ("k\0x=v" is k=v).
// Lines before the first header belong to no section: the empty name finds
// the section of a "[]" header, as on Windows.
class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::string bytes) : IniDocument(FileBytes(std::move(bytes))) {}
    explicit IniDocument(FileBytes bytes);

    bool Utf16() const { return width_ == 2; }
    std::string_view Bytes() const { return content_.View(); }
    // What the file's unchanged parts point into, for a writer to release.
    FileBytes& Content() { return content_; }

    // The value as the profile functions return it (blanks trimmed, one pair
    // of enclosing quotes removed), or nothing for an absent entry or a line
    // without "=".
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // The same as it lies in the file, valid while the document is: the code
    // page's bytes, or UTF-16LE units for a file in the Unicode form.
    std::optional<std::string_view> FindInFile(std::string_view section,
                                               std::string_view key) const;

    // Sets one value, creating the section and the key as needed; other lines
    // stay as they are, and a new section or key starts a line of its own. A
    // value ends at its first NUL. Returns false when the stored form was
    // already there.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // The form in which `value` is written after "=" so that the profile
    // functions read it back unchanged (leading and trailing blanks and
    // enclosing quotes survive inside one extra pair of quotes).
    static std::string StoredForm(std::string_view value);

    // The file with every Set applied, in its form: changed values in place,
    // new keys at the end of their section, new sections at the end of the file.
    std::string Serialize() const;

    // The same as pieces to be written one after the other, valid while the
    // document is: unchanged runs point into the file, changed values into
    // the document, the rest into `owned`.
    struct Rendering {
        std::deque<std::string> owned;
        std::vector<std::string_view> pieces;
    };
    Rendering Render() const;

  private:
    struct Entry {
        size_t lineBegin = 0;  // first byte of the line
        size_t lineEnd = 0;    // end of the line's content, before its line break
        size_t keyBegin = 0, keyEnd = 0;
        bool hasValue = false;
        size_t valueBegin = 0, valueEnd = 0;  // trimmed raw value
        size_t tailBegin = 0;                 // where a new value replaces the old
        bool added = false;                   // not in the file yet
        bool replaced = false;                // newValue holds the stored form, as units
        std::string addedKey;
        std::string newValue;
    };
    struct Section {
        size_t nameBegin = 0, nameEnd = 0;
        size_t lastLineEnd = 0;  // end of the section's last non-blank line
        bool named = false;      // has a header, so a name can find it
        bool isNew = false;
        std::string addedName;
        std::vector<Entry> entries;
    };

    template <size_t W>
    void Parse();
    std::string_view Text() const;
    std::string Native(std::string text) const;
    std::string NativeName(std::string_view name) const;
    std::string_view NameOf(const Section& section) const;
    std::string_view KeyOf(const Entry& entry) const;
    Section* FindSection(std::string_view name);
    Entry* FindEntry(Section& section, std::string_view key);
    std::string_view View(size_t begin, size_t end) const {
        return Text().substr(begin, end - begin);
    }

    FileBytes content_;
    size_t width_ = 1;  // bytes per code unit
    size_t start_ = 0;  // after the byte-order mark
    std::vector<Section> sections_;
    size_t edits_ = 0;
};

// A default as the profile functions hand it back: without its trailing
// spaces. Only spaces go; a tab or a line break at the end stays.
std::string_view ProfileDefault(std::string_view fallback);
std::wstring_view ProfileDefault(std::wstring_view fallback);

// One value to write, for batched writes.
struct SettingWrite {
    std::string section;
    std::string key;
    std::string value;
};

// ReadSetting/WriteSetting over a real file. Every call goes to the file;
// nothing is cached between calls, so another program's change is seen at once.
class SettingsFile {
  public:
    explicit SettingsFile(FileSystem& fs) : fs_(fs) {}

    // The file parsed once, and its form: values are the code page's bytes,
    // or UTF-8 for a file in the Unicode form. A missing or unreadable file
    // reads as empty; `read` tells the two apart.
    struct Loaded {
        IniDocument document;
        bool unicode = false;
        bool existed = false;
        IoResult read;  // why a file that exists could not be read
    };
    Loaded Load(const std::filesystem::path& path) const;
    // The same for a file that must be there: a missing or unreadable one
    // is a failure with its reason, and `file` is left empty.
    IoResult LoadExisting(const std::filesystem::path& path, Loaded& file) const;

    // Applies `edit` to the file as it is and replaces the file once, in the
    // form the edit leaves it in, when the edit says it changed something.
    // A file that exists but cannot be read is never replaced.
    template <class Edit>
    IoResult Update(const std::filesystem::path& path, Edit edit) {
        Loaded file;
        if (IoResult read = Read(path, file, true); !read) return read;
        if (!edit(file)) return IoResult::Success();
        return Write(path, file);
    }

    // The stored bytes of one value (line-break marker still in place), the
    // whole value however long; for an absent one, ProfileDefault(fallback).
    std::string ReadRaw(const std::filesystem::path& path, std::string_view section,
                        std::string_view key, std::string_view fallback) const;

    // Several keys of one file from a single read of it.
    std::vector<std::string> ReadRawMany(const std::filesystem::path& path,
                                         std::string_view section,
                                         const std::vector<std::string>& keys,
                                         std::string_view fallback = {}) const;

    // Applies the writes in order and replaces the file once, atomically; the
    // file ends as the same writes made one at a time would leave it. A batch
    // that changes nothing leaves the file untouched.
    IoResult WriteRawMany(const std::filesystem::path& path,
                          const std::vector<SettingWrite>& writes);
    IoResult WriteRaw(const std::filesystem::path& path, std::string_view section,
                      std::string_view key, std::string_view value);

  private:
    // For a replace, the content may be the file mapped into memory, which
    // Write releases.
    IoResult Read(const std::filesystem::path& path, Loaded& file, bool forReplace = false) const;
    IoResult Write(const std::filesystem::path& path, Loaded& file);
    FileSystem& fs_;
};

}  // namespace quillet
