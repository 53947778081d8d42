// Our settings engine against the system's profile functions, on a corpus of
// awkward files: both must read every file alike, and files written by either
// must read the same through the other.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "store/Module1.h"
#include "store/settings.h"

namespace quillet {
namespace {

struct Query {
    std::string section, key;
};

struct CorpusFile {
    const char* name;
    std::string bytes;
    // Lines before the first header, or a "[]" header, hold values: Wine
    // answers the empty section from the former, Windows from the latter.
    bool wineReadsTheEmptySectionElsewhere = false;
};

bool EmptySection(const Query& q) {
    return q.section.find_first_not_of(' ') == std::string::npos;
}

// Only where Wine answers as Windows does can the engine be held to Wine.
bool ComparableUnderWine(const CorpusFile& file, const Query& q) {
    return !(file.wineReadsTheEmptySectionElsewhere && EmptySection(q));
}

std::vector<CorpusFile> Corpus() {
    const std::string big(40000, 'w');
    const std::string marker = "\xFF\xF6";
    using namespace std::string_literals;  // for files holding NUL bytes
    return {
        {"mixed_case",
         "[SETTINGS]\r\nStoreNumber=3\r\nformtop=120\r\n[savings1]\r\nTXT(0)=hello\r\n"},
        {"blanks",
         "  [Settings]  \r\n   FormLeft   =   77   \r\n\tFormTop\t=\t1\t\r\nsp =  a b  \r\n"},
        {"quotes",
         "[q]\r\na=\"x\"\r\nb='y'\r\nc=\"\r\nd=\"\"\r\ne=\"z'\r\nf= \"in\" \r\ng='\r\nh=''\r\n"},
        {"duplicates", "[d]\r\nk=1\r\nK=2\r\n[D]\r\nk=3\r\nonly_second=4\r\n[e]\r\nx=5\r\n"},
        {"no_equals", "[n]\r\nbare\r\nbare=later\r\nvalue=v\r\n[unclosed\r\nafter=1\r\n"},
        {"comments", ";top comment\r\n[c]\r\n; note\r\n#hash=1\r\n;semi=2\r\nreal=3\r\n"},
        {"lf_only", "[l]\na=1\nb=2\n\n[m]\nc=3\n"},
        {"no_final_break", "[s]\r\na=1\r\nlast=tail"},
        {"cr_only", "[r]\ra=1\rb=2\r"},
        {"blank_lines", "\r\n\r\n[b]\r\n\r\na=1\r\n\r\n\r\nb=2\r\n\r\n"},
        {"long_values", "[Savings1]\r\ntxt(0)=" + big + "\r\ntxt(1)=short\r\n"},
        {"marker",
         "[Savings2]\r\ntxt(0)=line1" + marker + "line2" + marker + "\r\ncafe=caf\xE9\xC9\r\n"},
        {"empty_header", "[]\r\nempty=1\r\n[after]\r\nk=2\r\n", true},
        {"odd_headers", "[ spaced ]\r\nsp=2\r\n[a]b]\r\nab=3\r\n[x] trailing\r\nxt=4\r\n"},
        {"before_section", "orphan=1\r\n[s]\r\nk=2\r\n", true},
        {"empty_key", "[s]\r\n=nokey\r\n  =x\r\nk=\r\nk2=   \r\n"},
        {"ctrl_z_and_nbsp",
         "[z]\r\na=1\x1a\r\nb=\xA0v\xA0\r\n\x1a"
         "c=3\r\n"},
        {"empty_file", ""},
        // What a crash leaves behind, and lines damaged in other ways.
        {"tail_of_zeros", "[s]\r\nk=1\r\n" + std::string(16, '\0')},
        {"zeros_without_break", "[s]\r\nlast=tail" + std::string(8, '\0')},
        {"nul_in_values",
         "[nul]\r\na=x\0y\r\nb=\"q\"\0\r\nc=\"q\0\"\r\nd= \0 x\r\ne=v\0[t]\r\nf=1\r\n"s},
        {"nul_in_names",
         "[nul\0x]\r\nk\0x=1\r\n\0=2\r\n[t]junk\0]\r\nk=3\r\n\0\0[open]\r\nx=4\r\n"s},
        {"nul_after_blank", "[t \0]\r\nk=1\r\n[nul]\r\na \0=2\r\na=3\r\n"s},
        {"nul_first", "\0\0[s]\r\nk=1\r\n"s, true},
        {"damaged_lines", "[s]\r\nbare\r\n[open\r\nk=1\r\n[x\r\n]\r\nb=2\r\n"},
        {"damaged_cr_only", "[r]\rbare\r[open\ra=1\rb=x\0y\r\0\0"s},
        {"damaged_lf_only", "[l]\nbare\n[open\na=1\n\n[m\nb=2\n\0\0\0"s},
    };
}

std::vector<Query> Queries() {
    std::vector<Query> q;
    const char* sections[] = {
        "Settings",  "settings", "SAVINGS1", "Savings2", "q",  "d",    "D",           "e",
        "n",         "c",        "l",        "m",        "s",  "r",    "b",           "z",
        "",          "spaced",   " spaced ", "a]b",      "a",  "x",    "x] trailing", "unclosed",
        "[unclosed", "missing",  "nul",      "t",        "t ", "open", "[open"};
    const char* keys[] = {
        "StoreNumber", "FORMTOP",     "formleft", "FormTop", "sp",    "txt(0)", "TXT(1)", "a",
        "b",           "c",           "d",        "e",       "f",     "g",      "h",      "k",
        "K",           "only_second", "x",        "bare",    "value", "after",  "; note", ";semi",
        "#hash",       "real",        "last",     "cafe",    "empty", "ab",     "xt",     "orphan",
        "k2",          "nokey",       "missing",  "",        "[open", "]"};
    for (const char* s : sections)
        for (const char* k : keys) q.push_back({s, k});
    return q;
}

class ProfileCompat : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        dir_ = std::filesystem::path(temp) / L"quillet_profile_compat";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    std::filesystem::path Place(const CorpusFile& file, const char* suffix) {
        const auto path = dir_ / (std::string(file.name) + suffix + ".ini");
        std::ofstream(path, std::ios::binary) << file.bytes;
        return path;
    }

    static std::string ApiRead(const std::filesystem::path& path, const Query& q, bool flush = true,
                               const char* fallback = "<default>") {
        // Flush the system's cache so it sees what our engine wrote.
        if (flush) ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.string().c_str());
        std::vector<char> buffer(70000);
        const DWORD n =
            ::GetPrivateProfileStringA(q.section.c_str(), q.key.c_str(), fallback, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), path.string().c_str());
        return std::string(buffer.data(), n);
    }

    std::string OurRead(const std::filesystem::path& path, const Query& q) {
        return engine_.ReadRaw(path, q.section, q.key, "<default>");
    }
    // The engine's answer to each query, the file loaded once per section
    // rather than once per key: the same reading, far fewer file opens.
    std::vector<std::string> OurReads(const std::filesystem::path& path,
                                      const std::vector<Query>& queries) {
        std::map<std::string, std::vector<size_t>> bySection;
        for (size_t i = 0; i < queries.size(); ++i) bySection[queries[i].section].push_back(i);
        std::vector<std::string> answers(queries.size());
        for (const auto& [section, at] : bySection) {
            std::vector<std::string> keys;
            for (size_t i : at) keys.push_back(queries[i].key);
            const std::vector<std::string> values =
                engine_.ReadRawMany(path, section, keys, "<default>");
            for (size_t j = 0; j < at.size(); ++j) answers[at[j]] = values[j];
        }
        return answers;
    }

    std::filesystem::path dir_;
    SettingsFile engine_{RealFileSystem()};
};

// Windows' wide function answers the empty section from the lines under a
// "[]" header, never from those before the first header. Wine answers from
// the latter, as the engine once did, so the answers for "" here are
// Windows' own, not the system's under test.
TEST_F(ProfileCompat, TheEmptySectionIsTheOneUnderAnEmptyHeaderAsOnWindows) {
    std::vector<CorpusFile> files = Corpus();
    files.push_back({"top_and_empty_header",
                     "key=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n=val_no_key\r\n",
                     true});
    auto named = [&files](std::string_view name) {
        return *std::find_if(files.begin(), files.end(),
                             [name](const CorpusFile& f) { return f.name == name; });
    };
    const struct {
        const char* file;
        Query query;
        std::string windows;
    } cases[] = {
        {"top_and_empty_header", {"", "key"}, "val_e_section"},
        {"top_and_empty_header", {" ", "KEY"}, "val_e_section"},
        {"empty_header", {"", "empty"}, "1"},
        {"before_section", {"", "orphan"}, "<default>"},
        {"nul_first", {"", "k"}, "<default>"},
    };
    for (const auto& c : cases) {
        const auto path = Place(named(c.file), "");
        EXPECT_EQ(OurRead(path, c.query), c.windows)
            << c.file << " [" << c.query.section << "] " << c.query.key;
    }
    // Named sections of such files read as the system reads them.
    for (const CorpusFile& file : files) {
        if (!file.wineReadsTheEmptySectionElsewhere) continue;
        const auto path = Place(file, "");
        for (const Query& q : {Query{"s", ""}, Query{"s", "key"}, Query{"after", "k"},
                               Query{"s", "k"}, Query{"s", "orphan"}})
            EXPECT_EQ(OurRead(path, q), ApiRead(path, q, false))
                << file.name << " [" << q.section << "] " << q.key;
    }
}

// A write to the empty section goes under a "[]" header, made at the end when
// there is none, and never among the lines before the first header, which
// keep their bytes; the system reads every other entry of the result alike.
TEST_F(ProfileCompat, AWriteToTheEmptySectionLeavesTheLinesBeforeTheFirstHeader) {
    const struct {
        const char* name;
        std::string bytes, written;
    } cases[] = {
        {"top_only", "key=top\r\n[s]\r\nk=1\r\n", "key=top\r\n[s]\r\nk=1\r\n[]\r\nkey=new\r\n"},
        {"top_and_empty", "key=top\r\n[]\r\nkey=old\r\n[s]\r\nk=1\r\n",
         "key=top\r\n[]\r\nkey=new\r\n[s]\r\nk=1\r\n"},
    };
    for (const auto& c : cases) {
        const auto path = Place({c.name, c.bytes, true}, "");
        ASSERT_TRUE(engine_.WriteRaw(path, "", "key", "new")) << c.name;
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(bytes, c.written) << c.name;
        EXPECT_EQ(OurRead(path, {"", "key"}), "new") << c.name;
        for (const Query& q : {Query{"s", "k"}, Query{"s", "key"}, Query{"other", "key"}})
            EXPECT_EQ(OurRead(path, q), ApiRead(path, q))
                << c.name << " [" << q.section << "] " << q.key;
    }
}

struct Write {
    std::string section, key, value;
};

std::vector<Write> Writes() {
    return {
        {"Settings", "StoreNumber", "9"},
        {"settings", "NEWKEY", "n"},
        {"Savings1", "txttitle(3)", "title"},
        {"SAVINGS1", "txtTitle(3)", "again"},
        {"Savings1", "txt(0)", std::string(20000, 'y')},
        {"d", "only_second", "now first"},
        {"n", "bare", "given"},
        {"q", "a", "plain"},
        {"brand new", "k", "v"},
        {"s", "last", "replaced"},
        {"l", "appended", "x"},
        {"Savings2", "cafe", "\xE9t\xE9 \xFF\xF6 l\xE0"},
        {"c", "; note", "was comment"},
        {"s", "k2", ""},
        {"blank", "k", ""},
        {"nul", "b", "over a NUL"},
        {"nul", "k", "new"},
        {"t", "k", "in t"},
        {"r", "bare", "given"},
        {"m", "b", "3"},
        {"fresh", "k", "after the zeros"},
    };
}

// Both read every file of the corpus alike, and after the same writes by
// each, either's file reads the same through the other.
TEST_F(ProfileCompat, BothReadTheCorpusAndEithersWritesAlike) {
    for (const CorpusFile& file : Corpus()) {
        const auto ours = Place(file, "_ours");
        const auto api = Place(file, "_api");
        std::vector<Query> queries = Queries();
        const std::vector<std::string> unwritten = OurReads(ours, queries);
        for (size_t i = 0; i < queries.size(); ++i) {
            if (!ComparableUnderWine(file, queries[i])) continue;
            EXPECT_EQ(unwritten[i], ApiRead(ours, queries[i], false))
                << file.name << " [" << queries[i].section << "] " << queries[i].key;
        }
        // The engine's writes in one go, which ends as the single writes do
        // (the core's tests hold it to that) at one replace of the file.
        std::vector<SettingWrite> batch;
        for (const Write& w : Writes()) {
            batch.push_back({w.section, w.key, w.value});
            ASSERT_TRUE(::WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(),
                                                     w.value.c_str(), api.string().c_str()));
            queries.push_back({w.section, w.key});
        }
        ASSERT_TRUE(engine_.WriteRawMany(ours, batch)) << file.name;
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
        // The system's writer drops an empty "[]" header, so its keys join the
        // lines before it; and it drops what follows a NUL, so a blank before
        // one ends up at the end of a name, where its own reader trims it
        // ("[t \0]" becomes [t]). Only there may the two files mean different things.
        const std::string name = file.name;
        const bool sameMeaning = name != "empty_header" && name != "nul_after_blank";
        const std::vector<std::string> engineOnApi = OurReads(api, queries);
        const std::vector<std::string> engineOnOurs = OurReads(ours, queries);
        for (size_t i = 0; i < queries.size(); ++i) {
            const Query& q = queries[i];
            const std::string theirs = ApiRead(api, q, false);
            const std::string mine = ApiRead(ours, q, false);
            if (ComparableUnderWine(file, q)) {
                EXPECT_EQ(engineOnApi[i], theirs)
                    << file.name << " [" << q.section << "] " << q.key;
                EXPECT_EQ(engineOnOurs[i], mine) << file.name << " [" << q.section << "] " << q.key;
            }
            if (sameMeaning) {
                EXPECT_EQ(mine, theirs) << file.name << " [" << q.section << "] " << q.key;
            }
        }
    }
}

TEST_F(ProfileCompat, ADefaultLosesItsTrailingSpacesAsWithTheSystem) {
    const CorpusFile file{"defaults", "[s]\r\nk=v\r\nempty=\r\n"};
    const auto path = Place(file, "");
    const auto missing = dir_ / "missing.ini";
    Settings settings(RealFileSystem(), SystemCodec());
    const Query queries[] = {{"s", "absent"}, {"other", "k"}, {"s", "k"}};
    for (const char* fallback :
         {"default  ", "one two  ", "  lead", "tab\t", "tab\t ", "x \t ", "caf\xE9  ", "", "x"}) {
        for (const auto& at : {path, missing})
            for (const Query& q : queries)
                EXPECT_EQ(engine_.ReadRaw(at, q.section, q.key, fallback),
                          ApiRead(at, q, false, fallback))
                    << at << " [" << q.section << "] " << q.key << " default '" << fallback << "'";
        // The same through the wide function, for the program's own reads.
        const std::wstring wide = SystemCodec().FromBytes(fallback);
        wchar_t buffer[64];
        const DWORD n = ::GetPrivateProfileStringW(L"s", L"absent", wide.c_str(), buffer, 64,
                                                   path.wstring().c_str());
        EXPECT_EQ(settings.ReadSetting(path, "s", "absent", wide), std::wstring(buffer, n))
            << "default '" << fallback << "'";
    }
    // Wine keeps one space of a default made only of spaces; the documented
    // rule strips every trailing blank, and so does the engine.
    EXPECT_EQ(engine_.ReadRaw(path, "s", "absent", "   "), "");
}

TEST_F(ProfileCompat, ValuesTheSystemWouldTrimSurviveOurWritesAndItsReads) {
    const CorpusFile file{"edges", "[s]\r\n"};
    const auto path = Place(file, "");
    for (std::string value : {"  lead", "trail  ", "\"quoted\"", "'single'", " both ", "\t"}) {
        ASSERT_TRUE(engine_.WriteRaw(path, "s", "k", value));
        EXPECT_EQ(ApiRead(path, {"s", "k"}), value);
    }
}

TEST_F(ProfileCompat, LongerValuesThanTheSystemWritesStayReadableByIt) {
    // The system's writer fails on values this long; its reader still copes.
    const CorpusFile file{"huge", ""};
    const auto path = Place(file, "");
    const std::string huge(40000, 'h');
    ASSERT_TRUE(engine_.WriteRaw(path, "Savings4", "txt(5)", huge));
    EXPECT_EQ(ApiRead(path, {"Savings4", "txt(5)"}), huge);
    EXPECT_EQ(OurRead(path, {"Savings4", "txt(5)"}), huge);
}

TEST_F(ProfileCompat, AccentedTextAndLineBreaksKeepTheirBytesInTheSystemCodePage) {
    const auto path = dir_ / "codepage.ini";
    Settings settings(RealFileSystem(), SystemCodec());
    ASSERT_EQ(::GetACP(), 1252u) << "the bench runs Wine with the Western code page";
    const std::wstring text = L"\u00C9t\u00E9 \u00E0 Z\u00FCrich\r\n\u00FF\u00F6 \u20AC5";
    ASSERT_TRUE(settings.WriteSetting(path, "Savings1", "txt(0)", text));
    EXPECT_EQ(ApiRead(path, {"Savings1", "txt(0)"}),
              "\xC9t\xE9 \xE0 Z\xFCrich\xFF\xF6\xFF\xF6 \x80"
              "5");
    // The marker the user typed comes back as a line break; all else as written.
    EXPECT_EQ(settings.ReadSetting(path, "Savings1", "txt(0)", L""),
              L"\u00C9t\u00E9 \u00E0 Z\u00FCrich\r\n\r\n \u20AC5");
}

}  // namespace
}  // namespace quillet
