// Replacing a file on the real system: attributes kept, read-only refused, a
// folder that refuses new files written in place, a file read through a
// mapping replaced once the mapping is let go, and writers killed at random
// moments never leaving a torn file.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/filesystem.h"
#include "store/settings.h"
#include "support/program_win.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

using testing::ReadFileBytes;
using testing::WriteFileBytes;

// Names and sizes, for a failure's message.
std::string Listing(const fs::path& folder) {
    std::string text;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        text += " " + entry.path().filename().string() + " (" +
                std::to_string(fs::file_size(entry.path(), ec)) + ")";
    return text;
}

DWORD Attributes(const fs::path& path) {
    return ::GetFileAttributesW(path.c_str());
}

// A settings file's worth of text; the two versions differ in every value
// and in length, so that a torn or untruncated file shows.
std::string Version(char fill, size_t valueLength) {
    std::string text = "[Savings1]\r\n";
    for (int i = 0; i < 10; ++i)
        text += "txt(" + std::to_string(i) + ")=" + std::string(valueLength, fill) + "\r\n";
    return text;
}

// A folder of its own under the temporary folder, and a file name no other
// run uses, so that the copies this file leaves in the temporary folder are
// known to be ours.
class Scratch {
  public:
    Scratch() {
        const std::wstring id = std::to_wstring(::GetCurrentProcessId());
        folder_ = RealFileSystem().TempFolder() / (L"quillet_replace_" + id);
        fs::create_directories(folder_);
        name_ = L"settings_" + id + L".ini";
    }
    ~Scratch() {
        std::error_code ec;
        for (const fs::path& p : Leftovers()) fs::remove(p, ec);
        for (const auto& entry : fs::directory_iterator(folder_, ec))
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(folder_, ec);
    }
    const fs::path& Folder() const { return folder_; }
    fs::path File() const { return folder_ / name_; }
    fs::path Beside() const { return folder_ / (name_ + L".new"); }

    // Files an in-place rewrite of File() keeps in the temporary folder: the
    // copy of the old content, "<name>.<digits>.old", and that copy while it
    // is being written.
    std::vector<fs::path> Leftovers(std::wstring_view ending = L"") const {
        std::vector<fs::path> found;
        std::error_code ec;
        const std::wstring prefix = name_ + L".";
        for (const auto& entry : fs::directory_iterator(RealFileSystem().TempFolder(), ec)) {
            const std::wstring name = entry.path().filename().wstring();
            if (name.rfind(prefix, 0) == 0 && name.size() >= ending.size() &&
                name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
                found.push_back(entry.path());
        }
        return found;
    }
    std::vector<fs::path> Copies() const { return Leftovers(L".old"); }

  private:
    fs::path folder_;
    std::wstring name_;
};

// Makes a folder refuse new files while the files in it stay writable: a
// deny entry in its access list on Windows (Wine, which maps the list to the
// folder's Unix mode, honours it for a normal user); a Wine run as root
// ignores both, so there the folder is made immutable on the host.
class FolderRefusal {
  public:
    explicit FolderRefusal(fs::path folder) : folder_(std::move(folder)) {
        if (DenyNewFiles() && Refused()) return;
        if (MakeImmutable(true) && Refused()) return;
        reason_ = "this system lets the test create files in any folder it can reach";
    }
    ~FolderRefusal() {
        if (immutable_) MakeImmutable(false);
        if (savedSd_) {
            ::SetNamedSecurityInfoW(const_cast<wchar_t*>(folder_.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION, nullptr, nullptr, savedDacl_,
                                    nullptr);
            ::LocalFree(savedSd_);
        }
    }
    bool Holds() const { return reason_.empty(); }
    const std::string& Reason() const { return reason_; }

  private:
    bool Refused() const {
        const fs::path probe = folder_ / L"probe.tmp";
        HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_ACCESS_DENIED;
        ::CloseHandle(h);
        ::DeleteFileW(probe.c_str());
        return false;
    }

    bool DenyNewFiles() {
        if (::GetNamedSecurityInfoW(folder_.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, &savedDacl_, nullptr,
                                    &savedSd_) != ERROR_SUCCESS)
            return false;
        // Everyone: no new files in the folder itself; everything else, here
        // and inherited by the files.
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
                L"D:P(D;;0x2;;;WD)(A;OICI;FA;;;WD)", SDDL_REVISION_1, &sd, nullptr))
            return false;
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        const bool ok =
            ::GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) &&
            ::SetNamedSecurityInfoW(const_cast<wchar_t*>(folder_.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
        ::LocalFree(sd);
        return ok;
    }

    // Through Wine's own door to host programs; false elsewhere.
    bool MakeImmutable(bool on) {
        using Spawn = LONG(CDECL*)(char* const argv[], int wait);
        using UnixName = char*(CDECL*)(const wchar_t*);
        const auto spawn = reinterpret_cast<Spawn>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (!spawn || !unixName) return false;
        char* name = unixName(folder_.c_str());
        if (!name) return false;
        char program[] = "chattr";
        char flag[] = "+i";
        if (!on) flag[0] = '-';
        char* args[] = {program, flag, name, nullptr};
        const bool ran = spawn(args, 1) == 0;
        ::HeapFree(::GetProcessHeap(), 0, name);
        immutable_ = on && ran;
        return ran;
    }

    fs::path folder_;
    std::string reason_;
    PSECURITY_DESCRIPTOR savedSd_ = nullptr;
    PACL savedDacl_ = nullptr;
    bool immutable_ = false;
};

// A save reads the file mapped and writes its unchanged parts from the
// mapping; the system refuses to replace or truncate a mapped file.
IoResult SaveThroughMapping(const fs::path& file, bool expectMapped) {
    FileContent content = RealFileSystem().ReadForReplace(file);
    EXPECT_EQ(content.status, FileRead::Status::kOk);
    EXPECT_EQ(content.bytes.Mapped(), expectMapped);
    IniDocument doc(std::move(content.bytes));
    doc.Set("a", "k", "new");
    const IniDocument::Rendering rendering = doc.Render();
    IoResult saved = RealFileSystem().ReplaceAtomically(file, rendering.pieces, doc.Content());
    EXPECT_FALSE(doc.Content().Mapped());
    return saved;
}

TEST(AtomicReplace, AFileOpenForWritingElsewhereIsReadWithoutAMapping) {
    Scratch scratch;
    WriteFileBytes(scratch.File(), "[a]\r\nk=old\r\n");
    const HANDLE writer = ::CreateFileW(scratch.File().c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const FileContent content = RealFileSystem().ReadForReplace(scratch.File());
    ::CloseHandle(writer);
    EXPECT_EQ(content.status, FileRead::Status::kOk);
    EXPECT_FALSE(content.bytes.Mapped());
    EXPECT_EQ(content.bytes.View(), "[a]\r\nk=old\r\n");
}

// Kills the writer child at random moments spread over a few of its own
// write times; after each kill the file must hold exactly one version.
class KillBench {
  public:
    KillBench(const Scratch& scratch, std::string oldContent, std::string newContent)
        : scratch_(scratch), old_(std::move(oldContent)), new_(std::move(newContent)) {
        // The contents reach the child through files outside the scratch
        // folder, which may refuse new files.
        const fs::path temp = RealFileSystem().TempFolder();
        const std::wstring id = std::to_wstring(::GetCurrentProcessId());
        oldFile_ = temp / (L"quillet_kill_old_" + id);
        newFile_ = temp / (L"quillet_kill_new_" + id);
        WriteFileBytes(oldFile_, old_);
        WriteFileBytes(newFile_, new_);
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        writer_ = fs::path(self).parent_path() / QUILLET_REPLACE_WRITER;
    }
    ~KillBench() {
        std::error_code ec;
        fs::remove(oldFile_, ec);
        fs::remove(newFile_, ec);
    }

    struct Outcome {
        int kills = 0, sawOld = 0, sawNew = 0, cutOff = 0;
    };

    // What the file holds between writers: through the program's own read
    // where a cut-off rewrite may have left a copy to put back, else the bytes
    // on the disk.
    using Check = std::function<std::string()>;

    // At least minKills kills, more (up to maxKills) until both versions and,
    // when asked, cut-off rewrites have been seen a few times each.
    void Run(int minKills, int maxKills, int wantCutOffs, const Check& holds, Outcome& outcome) {
        ASSERT_EQ(holds(), old_);
        // The middle of three, as one slow disk flush may stretch any of them.
        long long paces[3] = {};
        for (long long& micros : paces) ASSERT_NO_FATAL_FAILURE(TimeFirstWrite(holds, micros));
        std::sort(std::begin(paces), std::end(paces));
        const long long pace = paces[1];
        std::mt19937 random(12345);
        long long longest = 3 * pace;
        for (;; ++outcome.kills) {
            const bool enough =
                outcome.sawOld >= 5 && outcome.sawNew >= 5 && outcome.cutOff >= wantCutOffs;
            if (outcome.kills >= maxKills || (outcome.kills >= minKills && enough)) break;
            // A loaded machine writes slower than it measured: while no kill
            // has come after a finished write, the kills spread wider.
            if (outcome.kills % 25 == 24 && outcome.sawNew == 0) longest *= 2;
            std::uniform_int_distribution<long long> delayMicros(0, longest);
            // Each writer first writes the version the file does not hold.
            const bool holdsOld = holds() == old_;
            Writer writer;
            ASSERT_NO_FATAL_FAILURE(Start(holdsOld, writer));
            Spin(std::chrono::microseconds(delayMicros(random)));
            writer.Kill();

            if (!scratch_.Copies().empty()) ++outcome.cutOff;
            const std::string now = holds();
            ASSERT_TRUE(now == old_ || now == new_)
                << "kill " << outcome.kills << " left " << now.size() << " bytes; the folder holds"
                << Listing(scratch_.Folder());
            (now == old_ ? outcome.sawOld : outcome.sawNew)++;
        }
        std::printf(
            "%d kills over 0-%lld us (a first write takes about %lld us): "
            "%d old, %d new, %d cut-off rewrites\n",
            outcome.kills, longest, pace, outcome.sawOld, outcome.sawNew, outcome.cutOff);
    }

  private:
    class Writer {
      public:
        ~Writer() { Kill(); }
        void Kill() {
            if (!process) return;
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 60000);
            ::CloseHandle(process);
            process = nullptr;
        }
        HANDLE process = nullptr;
    };

    // Returns once the child is about to write; its start-up under Wine
    // takes far longer than a write and must not count.
    void Start(bool newFirst, Writer& writer) {
        static int started = 0;
        const std::wstring event = L"Local\\quillet_replace_kill_" +
                                   std::to_wstring(::GetCurrentProcessId()) + L"_" +
                                   std::to_wstring(started++);
        HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, event.c_str());
        ASSERT_TRUE(ready);
        std::wstring command = L"\"" + writer_.wstring() + L"\" \"" + scratch_.File().wstring() +
                               L"\" \"" + (newFirst ? newFile_ : oldFile_).wstring() + L"\" \"" +
                               (newFirst ? oldFile_ : newFile_).wstring() + L"\" " + event;
        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        const bool made = ::CreateProcessW(writer_.c_str(), command.data(), nullptr, nullptr, FALSE,
                                           0, nullptr, nullptr, &si, &pi);
        if (!made) ::CloseHandle(ready);
        ASSERT_TRUE(made) << "cannot start " << writer_;
        ::CloseHandle(pi.hThread);
        writer.process = pi.hProcess;
        HANDLE waits[] = {ready, pi.hProcess};
        const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, 60000);
        ::CloseHandle(ready);
        ASSERT_EQ(woke, WAIT_OBJECT_0) << "the writer never came to write";
    }

    // A fresh child writes slower than this warmed process: its pace is
    // taken from the time until its first write shows in the file.
    void TimeFirstWrite(const Check& holds, long long& micros) {
        Writer writer;
        ASSERT_NO_FATAL_FAILURE(Start(true, writer));
        const auto started = std::chrono::steady_clock::now();
        const auto limit = started + std::chrono::seconds(20);
        while (ReadFileBytes(scratch_.File()) != new_) {
            ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the writer never wrote";
        }
        micros = std::chrono::duration_cast<std::chrono::microseconds>(
                     std::chrono::steady_clock::now() - started)
                     .count();
        writer.Kill();
        // Back to the old version for the next round.
        holds();
        ASSERT_TRUE(RealFileSystem().ReplaceAtomically(scratch_.File(), old_));
    }

    // Sleep is too coarse for delays of a fraction of a write.
    static void Spin(std::chrono::microseconds delay) {
        const auto end = std::chrono::steady_clock::now() + delay;
        while (std::chrono::steady_clock::now() < end) {
        }
    }

    const Scratch& scratch_;
    std::string old_, new_;
    fs::path oldFile_, newFile_, writer_;
};

// Each test runs twice: beside the file in its folder, and with the folder
// refusing new files, where the file is rewritten in place.
class Replace : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealFileSystem().ReplaceAtomically(file_, "old"));
        ASSERT_TRUE(
            ::SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
        if (!GetParam()) return;
        refusal_ = std::make_unique<FolderRefusal>(scratch_.Folder());
        if (!refusal_->Holds()) GTEST_SKIP() << refusal_->Reason();
    }
    // Undone before the scratch folder goes.
    void TearDown() override {
        refusal_.reset();
        EXPECT_FALSE(fs::exists(scratch_.Beside()));
        EXPECT_TRUE(scratch_.Leftovers().empty()) << Listing(RealFileSystem().TempFolder());
    }

    Scratch scratch_;
    const fs::path file_ = scratch_.File();
    std::unique_ptr<FolderRefusal> refusal_;
};
INSTANTIATE_TEST_SUITE_P(BesideOrInPlace, Replace, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "InPlace" : "Beside"; });

TEST_P(Replace, PiecesArriveInOrderAndHiddenAndArchiveAttributesSurvive) {
    const std::vector<std::string_view> pieces = {"[a]\r\n", "", "k=", "value", "\r\n"};
    ASSERT_TRUE(RealFileSystem().ReplaceAtomically(file_, pieces));
    const DWORD attrs = Attributes(file_);
    EXPECT_EQ(attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE))
        << std::hex << attrs;
    EXPECT_EQ(ReadFileBytes(file_), "[a]\r\nk=value\r\n");
    // Shorter content leaves nothing of the longer one behind it.
    ASSERT_TRUE(RealFileSystem().ReplaceAtomically(file_, "short"));
    EXPECT_EQ(ReadFileBytes(file_), "short");
}

TEST_P(Replace, ReadOnlyFileIsRefusedAndUnchanged) {
    ASSERT_TRUE(::SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(RealFileSystem().ReplaceAtomically(file_, "new"));
    EXPECT_EQ(ReadFileBytes(file_), "old");
    EXPECT_TRUE(Attributes(file_) & FILE_ATTRIBUTE_READONLY);
}

TEST_P(Replace, AFileReadThroughAMappingIsReplaced) {
    ASSERT_TRUE(RealFileSystem().ReplaceAtomically(file_, "[a]\r\nk=old\r\n[b]\r\nj=kept\r\n"));
    ASSERT_TRUE(SaveThroughMapping(file_, true));
    EXPECT_EQ(ReadFileBytes(file_), "[a]\r\nk=new\r\n[b]\r\nj=kept\r\n");
}

TEST_P(Replace, ANewFileIsMadeUnlessTheFolderRefusesIt) {
    const fs::path other = scratch_.Folder() / L"other.ini";
    EXPECT_EQ(static_cast<bool>(RealFileSystem().ReplaceAtomically(other, "new")), !GetParam());
    EXPECT_EQ(fs::exists(other), !GetParam());
}

// The program's read puts back what a cut-off rewrite kept; afterwards the
// file on the disk must say the same and no copy may be left. Only in place
// is a rewrite ever cut off.
TEST_P(Replace, KilledWritersLeaveTheOldOrTheNewContentWhole) {
    const std::string oldContent = Version('a', 30000), newContent = Version('b', 20000);
    ASSERT_TRUE(RealFileSystem().ReplaceAtomically(file_, oldContent));
    KillBench bench(scratch_, oldContent, newContent);
    KillBench::Outcome outcome;
    bench.Run(
        150, 600, GetParam() ? 5 : 0,
        [&]() -> std::string {
            const FileRead read = RealFileSystem().ReadAll(file_);
            EXPECT_EQ(read.status, FileRead::Status::kOk);
            EXPECT_EQ(ReadFileBytes(file_), read.bytes);
            EXPECT_TRUE(scratch_.Copies().empty());
            return read.bytes;
        },
        outcome);
    // The kills must have landed both before and after completed writes.
    EXPECT_GT(outcome.sawOld, 0) << outcome.sawNew << " kills found the new content";
    EXPECT_GT(outcome.sawNew, 0) << outcome.sawOld << " kills found the old content";
    EXPECT_TRUE(!GetParam() || outcome.cutOff > 0) << "the copy was never needed";
    // A finished write leaves nothing of the killed ones beside the file.
    EXPECT_TRUE(RealFileSystem().ReplaceAtomically(file_, newContent));
}

}  // namespace
}  // namespace quillet
