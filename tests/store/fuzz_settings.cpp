// libFuzzer target over the settings engine and its line-break marker.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/encoding.h"
#include "store/settings.h"

namespace {

using quillet::IniDocument;

// The helpers below are written apart from the engine's, so that a slip there
// is not repeated here.

bool IsBlank(char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view BeforeNul(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        const auto fx = (x >= 'a' && x <= 'z') ? x - 32 : x,
                   fy = (y >= 'a' && y <= 'z') ? y - 32 : y;
        if (fx != fy) return false;
    }
    return true;
}

std::string Printable(std::string_view s) {
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += ch;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string PrintableOrAbsent(const std::optional<std::string>& s) {
    return s ? '"' + Printable(*s) + '"' : std::string("(absent)");
}

[[noreturn]] void Violated(const char* property, const std::string& detail) {
    std::fprintf(stderr, "settings fuzz: %s\n  %s\n", property, detail.c_str());
    std::abort();
}

std::optional<std::string> Found(const IniDocument& doc, std::string_view section,
                                 std::string_view key) {
    const auto v = doc.Find(section, key);
    return v ? std::optional<std::string>(*v) : std::nullopt;
}

// A name that the profile functions can address through their C strings and
// that no line of the file can mistake for something else.
std::string Addressable(std::string_view raw) {
    std::string name;
    for (char c : raw)
        if (c != '[' && c != ']' && c != '=' && c != '\r' && c != '\n' && c != '\0') name += c;
    return std::string(Trim(name));
}

// Every line break becomes CR LF, and so does each marker already in the text.
std::string ExpectedAfterRoundTrip(std::string_view v, std::string_view marker) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\r') {
            out += "\r\n";
            if (i + 1 < v.size() && v[i + 1] == '\n') ++i;
        } else if (v[i] == '\n') {
            out += "\r\n";
        } else if (v.substr(i, marker.size()) == marker) {
            out += "\r\n";
            i += marker.size() - 1;
        } else {
            out += v[i];
        }
    }
    return out;
}

// For the marker of files in the code page and that of files in UTF-16.
void CheckMarker(std::string_view value) {
    for (std::string_view marker : {quillet::kByteMarker, quillet::kUtf8Marker}) {
        const std::string stored = quillet::EncodeLineBreaks(value, marker);
        const std::string where = Printable(value) + " with the marker " + Printable(marker);
        if (stored.find_first_of("\r\n") != std::string::npos)
            Violated("an encoded value holds a line break", where);
        if (quillet::DecodeLineBreaks(stored, marker) != ExpectedAfterRoundTrip(value, marker))
            Violated("decoding the encoded value does not give it back", where);
        if (quillet::EncodeLineBreaks(quillet::DecodeLineBreaks(stored, marker), marker) != stored)
            Violated("encoding a decoded value does not give the stored form back", where);
    }
}

struct Query {
    std::string section, key;
};

// Names the file might hold, read the way a person would: headers give
// sections, the text before "=" gives keys.
struct Names {
    std::vector<std::string> sections{""};
    std::vector<std::string> keys;
    std::vector<Query> pairs;
};

Names NamesIn(std::string_view file) {
    constexpr size_t kMax = 48;
    Names names;
    std::string current;
    size_t pos = 0;
    while (pos < file.size() && names.pairs.size() < kMax) {
        size_t end = file.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = Trim(file.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        const size_t close = line.rfind(']');
        if (line.front() == '[' && close != std::string_view::npos && close > 0) {
            current = Trim(BeforeNul(line.substr(1, close - 1)));
            names.sections.push_back(current);
            continue;
        }
        const std::string key(Trim(BeforeNul(line.substr(0, line.find('=')))));
        names.keys.push_back(key);
        names.pairs.push_back({current, key});
    }
    return names;
}

// Where the line of the first header starts. What comes before it belongs
// to no section, so no write may change it.
size_t FirstHeaderAt(std::string_view file) {
    size_t pos = file.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (pos < file.size()) {
        size_t end = file.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = file.size();
        const std::string_view line = Trim(file.substr(pos, end - pos));
        const size_t close = line.rfind(']');
        if (!line.empty() && line.front() == '[' && close != std::string_view::npos && close > 0)
            return pos;
        pos = end + 1;
    }
    return file.size();
}

uint64_t Hash(std::string_view s) {
    uint64_t h = 1469598103934665603ULL;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return h;
}

struct Write {
    std::string section, key;
    std::string_view value;
};

bool SameEntry(const Write& w, std::string_view section, std::string_view key) {
    return SameName(w.section, section) && SameName(w.key, key);
}

// Input: the file, then for each write (up to four, as a batch makes them)
// "\x02" section "\x02" key "\x02" value. Without a "\x02", one write goes to
// a name picked from the file.
std::vector<Write> WritesIn(std::string_view input, std::string_view& file) {
    std::vector<Write> writes;
    const size_t first = input.find('\x02');
    file = input.substr(0, first);
    if (first != std::string_view::npos) {
        std::vector<std::string_view> fields;
        for (size_t pos = first + 1;;) {
            const size_t next = input.find('\x02', pos);
            fields.push_back(input.substr(pos, next - pos));
            if (next == std::string_view::npos) break;
            pos = next + 1;
        }
        fields.resize((fields.size() + 2) / 3 * 3);
        for (size_t i = 0; i < fields.size() && writes.size() < 4; i += 3)
            writes.push_back({Addressable(fields[i]), Addressable(fields[i + 1]), fields[i + 2]});
        return writes;
    }
    const uint64_t h = Hash(input);
    const Names names = NamesIn(input);
    const std::string_view section =
        (h & 7) == 0 ? std::string_view("Fresh") : names.sections[(h >> 3) % names.sections.size()];
    const std::string_view key =
        names.keys.empty() ? std::string_view("k") : names.keys[(h >> 13) % names.keys.size()];
    const size_t from = input.empty() ? 0 : (h >> 23) % input.size();
    writes.push_back({Addressable(section), Addressable(key), input.substr(from, (h >> 40) % 48)});
    return writes;
}

bool SurvivesUtf16(std::string_view text) {
    return quillet::Utf8FromUtf16(quillet::Utf16FromUtf8(text)) == text;
}

std::string InUtf16File(std::string_view utf8) {
    return std::string(quillet::kUtf16Mark) + quillet::Utf16FromUtf8(utf8);
}

// The same text in the Unicode form, parsed as UTF-16, answers every lookup
// and takes every write as the UTF-8 file does.
void CheckUnicodeTwin(std::string_view file, const std::vector<Write>& writes,
                      const std::vector<Query>& queries) {
    if (file.substr(0, 3) == "\xEF\xBB\xBF" || !SurvivesUtf16(file)) return;
    for (const Write& w : writes)
        if (!SurvivesUtf16(w.section) || !SurvivesUtf16(w.key) || !SurvivesUtf16(w.value)) return;
    IniDocument narrow{std::string(file)};
    IniDocument wide{InUtf16File(file)};
    if (!wide.Utf16()) Violated("a file after the mark FF FE is not read as UTF-16", "");
    const std::string where = "file: " + Printable(file);
    for (const Query& q : queries)
        if (Found(narrow, q.section, q.key) != Found(wide, q.section, q.key))
            Violated("the Unicode form answers a lookup differently",
                     where + "\n  [" + Printable(q.section) + "] " + Printable(q.key));
    for (const Write& w : writes)
        if (narrow.Set(w.section, w.key, w.value) != wide.Set(w.section, w.key, w.value))
            Violated("the Unicode form takes a write differently", where);
    if (wide.Serialize() != InUtf16File(narrow.Serialize()))
        Violated("the Unicode form is written differently",
                 where + "\n  UTF-8 wrote: " + Printable(narrow.Serialize()));
}

}  // namespace

// Aborts when any of these fails: the file parses and an unchanged one is
// written back as it was; after the writes, each reads back, before and after
// saving, every other entry keeps its value and the lines before the first
// header their bytes; one write made again changes nothing; the marker
// round-trips the values and the whole input; the same file in the Unicode
// form behaves the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view file;
    const std::vector<Write> writes = WritesIn(input, file);
    // A file that starts with the mark is in the Unicode form; the checks
    // below read files in the code page.
    if (quillet::IsUtf16File(file)) file.remove_prefix(1);

    CheckMarker(input);
    for (const Write& w : writes) CheckMarker(w.value);

    const Names inFile = NamesIn(file);
    std::vector<Query> queries = inFile.pairs;
    for (const Write& w : writes) {
        for (size_t i = 0; i < inFile.keys.size() && i < 16; ++i) {
            queries.push_back({w.section, inFile.keys[i]});
            queries.push_back({inFile.sections[i % inFile.sections.size()], w.key});
        }
        for (const std::string& s : inFile.sections) queries.push_back({s, w.key});
    }

    IniDocument doc{std::string(file)};
    if (doc.Serialize() != file) Violated("an unchanged file is not written back as it was", "");
    std::vector<std::optional<std::string>> before;
    before.reserve(queries.size());
    for (const Query& q : queries) before.push_back(Found(doc, q.section, q.key));

    bool changed = false;
    std::string where;
    for (const Write& w : writes) {
        changed = doc.Set(w.section, w.key, w.value) || changed;
        where += "[" + Printable(w.section) + "] " + Printable(w.key) + " = " + Printable(w.value) +
                 "\n  ";
    }
    const std::string out = doc.Serialize();
    where += "wrote: " + Printable(out);
    if (changed ? (writes.size() == 1 && out == file) : out != file)
        Violated("Set's answer does not tell whether the file changed", where);
    const size_t top = FirstHeaderAt(file);
    if (out.compare(0, top, file.substr(0, top)) != 0)
        Violated("a write changed the lines before the first header", where);

    const IniDocument again(out);
    for (const IniDocument* d : {static_cast<const IniDocument*>(&doc), &again}) {
        for (size_t w = 0; w < writes.size(); ++w) {
            bool overwritten = false;
            for (size_t later = w + 1; later < writes.size(); ++later)
                overwritten =
                    overwritten || SameEntry(writes[later], writes[w].section, writes[w].key);
            if (overwritten) continue;
            const auto got = Found(*d, writes[w].section, writes[w].key);
            if (got != quillet::EncodeLineBreaks(BeforeNul(writes[w].value)))
                Violated(d == &doc ? "a written value is not found before saving"
                                   : "a written value is not read back",
                         where + "\n  read: " + PrintableOrAbsent(got));
        }
        for (size_t i = 0; i < queries.size(); ++i) {
            const Query& q = queries[i];
            bool written = false;
            for (const Write& w : writes) written = written || SameEntry(w, q.section, q.key);
            if (written) continue;
            const auto now = Found(*d, q.section, q.key);
            if (now != before[i])
                Violated("a write changed another entry", where + "\n  [" + Printable(q.section) +
                                                              "] " + Printable(q.key) + " was " +
                                                              PrintableOrAbsent(before[i]) +
                                                              ", now " + PrintableOrAbsent(now));
        }
    }

    CheckUnicodeTwin(file, writes, queries);

    // Only for one write: a batch that changes a value and then restores it
    // may leave blanks after "=" that a second pass tidies away.
    if (writes.size() == 1) {
        IniDocument twice(out);
        if (twice.Set(writes[0].section, writes[0].key, writes[0].value) ||
            twice.Serialize() != out)
            Violated("the same write made again changes the file", where);
    }
    return 0;
}
