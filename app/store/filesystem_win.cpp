// The Windows file system: new content swapped in whole, or rewritten in place behind a copy.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <memory>

#include "base/handles_win.h"
#include "base/strings_win.h"
#include "store/filesystem.h"

namespace quillet {

namespace {

// What a new file can take over from the one it replaces at creation;
// read-only files are refused before this matters.
constexpr DWORD kCarriedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

IoResult Failed(DWORD error) {
    return IoResult::Failure(SystemMessage(error));
}

bool Exists(const std::filesystem::path& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FileRead ReadOpen(HANDLE file) {
    FileRead result;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart > 0x7fffffff) {
        result.status = FileRead::Status::kError;
        result.reason = SystemMessage(::GetLastError());
        return result;
    }
    result.bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < result.bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(result.bytes.size() - done);
        if (!::ReadFile(file, result.bytes.data() + done, want, &got, nullptr)) {
            result.status = FileRead::Status::kError;
            result.reason = SystemMessage(::GetLastError());
            return result;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    result.bytes.resize(done);
    result.status = FileRead::Status::kOk;
    return result;
}

FileRead ReadPath(const std::filesystem::path& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        FileRead result;
        const DWORD err = ::GetLastError();
        result.status = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND
                            ? FileRead::Status::kMissing
                            : FileRead::Status::kError;
        result.reason = SystemMessage(err);
        return result;
    }
    return ReadOpen(file.get());
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!::WriteFile(file, bytes.data() + done, want, &put, nullptr)) return false;
        if (put == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        done += put;
    }
    return true;
}

bool WriteAll(HANDLE file, const std::vector<std::string_view>& pieces) {
    for (std::string_view piece : pieces)
        if (!WriteAll(file, piece)) return false;
    return true;
}

// The file's whole content becomes bytes, on the disk when this returns.
bool Overwrite(HANDLE file, std::string_view bytes) {
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && WriteAll(file, bytes) &&
           ::SetEndOfFile(file) && ::FlushFileBuffers(file);
}

// Writes the pieces into a file just made at `path`, flushes and closes it;
// a file that could not be filled goes again.
IoResult Fill(UniqueFile file, const std::filesystem::path& path,
              const std::vector<std::string_view>& pieces) {
    const bool filled = WriteAll(file.get(), pieces) && ::FlushFileBuffers(file.get());
    const DWORD err = filled ? ERROR_SUCCESS : ::GetLastError();
    file.reset();
    if (filled) return IoResult::Success();
    ::DeleteFileW(path.c_str());
    return Failed(err);
}

// Joined into a buffer of its own, for the rewrite in place, which keeps it
// to put back and which must not read from the file it rewrites.
std::string Joined(const std::vector<std::string_view>& pieces) {
    size_t total = 0;
    for (std::string_view piece : pieces) total += piece.size();
    std::string joined;
    joined.reserve(total);
    for (std::string_view piece : pieces) joined += piece;
    return joined;
}

// Where an in-place rewrite keeps the old content: the user's temporary
// folder, "<file name>.<8 hex digits>.old", the digits a hash of the file's
// full path without regard to case, so that each file has its own copy.
std::filesystem::path CopyPathFor(const std::filesystem::path& path,
                                  const std::filesystem::path& tempFolder) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD n =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.resize(n);
        n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(n < full.size() ? n : 0);
    if (full.empty()) full = path.wstring();
    uint32_t hash = 2166136261u;  // FNV-1a
    for (wchar_t c : full) {
        hash = (hash ^ static_cast<uint32_t>(std::towlower(c))) * 16777619u;
    }
    std::wstring digits(8, L'0');
    for (int i = 7; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789abcdef"[hash & 15];
    return tempFolder / (path.filename().wstring() + L"." + digits + L".old");
}

// Puts a left copy's content back into the open file, then lets the copy go.
bool PutBack(HANDLE file, const std::filesystem::path& copy, const std::string& content) {
    return Overwrite(file, content) && ::DeleteFileW(copy.c_str());
}

// Wine (8.0) carries out ReplaceFileW in steps: a placeholder "rf*.tmp" made
// in the folder, the old file moved onto it and deleted, the new one moved
// in. A writer killed in between leaves no file, only "<name>.new", and
// nothing of the old file is kept; there the single rename is the safer swap.
bool ReplaceFileIsWhole() {
    static const bool wine =
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine;
}

// ReplaceFileW failures after which the plain move can still put the new
// file in place: the old file already gone (UNABLE_TO_MOVE_REPLACEMENT
// without a backup, FILE_NOT_FOUND), or the old file's merge and removal
// refused by a file system that renames well enough (UNABLE_TO_REMOVE_REPLACED
// on some network shares, NOT_SUPPORTED, INVALID_FUNCTION, INVALID_PARAMETER,
// CALL_NOT_IMPLEMENTED). Refused access is not among them: the move must not
// get round it.
bool MoveCanFinish(DWORD error) {
    switch (error) {
        case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
        case ERROR_FILE_NOT_FOUND:
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_PARAMETER:
        case ERROR_CALL_NOT_IMPLEMENTED:
            return true;
        default:
            return false;
    }
}

// A mapped file's read error is an exception in whatever code touches the
// view; only a fixed local drive is trusted not to go away under it (a
// removed stick, a lost share).
bool OnFixedDrive(const std::filesystem::path& path) {
    wchar_t volume[MAX_PATH + 1] = {};
    return ::GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1) &&
           ::GetDriveTypeW(volume) == DRIVE_FIXED;
}

class WindowsFileSystem final : public FileSystem {
  public:
    // A copy left by a cut-off in-place rewrite is the file's content: it is
    // put back before anything reads the file.
    FileRead ReadAll(const std::filesystem::path& path) override {
        const std::filesystem::path copy = CopyPathFor(path, TempFolder());
        if (Exists(copy)) return Recover(path, copy);
        return ReadPath(path);
    }

    FileContent ReadForReplace(const std::filesystem::path& path) override {
        const std::filesystem::path copy = CopyPathFor(path, TempFolder());
        if (Exists(copy)) return FileContent(Recover(path, copy));
        if (!OnFixedDrive(path)) return FileContent(ReadPath(path));
        // Shared for reading only: nobody writes into the view while it is read.
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        // Missing, refused, or open for writing elsewhere: the plain read says which.
        if (!file) return FileContent(ReadPath(path));
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart == 0 || size.QuadPart > 0x7fffffff)
            return FileContent(ReadOpen(file.get()));  // an empty file cannot be mapped
        auto mapped = std::make_shared<MappedFile>();
        mapped->mapping.reset(
            ::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (mapped->mapping)
            mapped->view = ::MapViewOfFile(mapped->mapping.get(), FILE_MAP_READ, 0, 0, 0);
        if (!mapped->view) return FileContent(ReadOpen(file.get()));
        mapped->file = std::move(file);
        const std::string_view bytes(static_cast<const char*>(mapped->view),
                                     static_cast<size_t>(size.QuadPart));
        FileContent content;
        content.status = FileRead::Status::kOk;
        content.bytes = FileBytes(bytes, std::move(mapped));
        return content;
    }

    using FileSystem::ReplaceAtomically;
    IoResult ReplaceAtomically(const std::filesystem::path& path,
                               const std::vector<std::string_view>& pieces) override {
        FileBytes none;
        return Replace(path, pieces, none);
    }
    IoResult ReplaceAtomically(const std::filesystem::path& path,
                               const std::vector<std::string_view>& pieces,
                               FileBytes& source) override {
        IoResult result = Replace(path, pieces, source);
        source.Release();
        return result;
    }

    bool FileExists(const std::filesystem::path& path) override {
        const DWORD attrs = ::GetFileAttributesW(path.c_str());
        return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool DirectoryExists(const std::filesystem::path& path) override {
        const DWORD attrs = ::GetFileAttributesW(path.c_str());
        return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
    }
    IoResult MakeDirectory(const std::filesystem::path& path) override {
        if (::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
            return IoResult::Success();
        return Failed(::GetLastError());
    }
    IoResult Remove(const std::filesystem::path& path) override {
        if (::DeleteFileW(path.c_str())) return IoResult::Success();
        return Failed(::GetLastError());
    }
    IoResult Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (::MoveFileW(from.c_str(), to.c_str())) return IoResult::Success();
        return Failed(::GetLastError());
    }
    std::filesystem::path TempFolder() override {
        wchar_t buffer[MAX_PATH + 1] = {};
        const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
        if (n == 0 || n > MAX_PATH) return std::filesystem::path(L"C:\\");
        return std::filesystem::path(buffer);
    }

  private:
    struct MappedFile {
        UniqueFile file;
        UniqueKernelHandle mapping;
        const void* view = nullptr;
        ~MappedFile() {
            if (view) ::UnmapViewOfFile(view);
        }
    };

    // The pieces may point into the source, which must be released before
    // the file it maps is replaced or rewritten.
    IoResult Replace(const std::filesystem::path& path, const std::vector<std::string_view>& pieces,
                     FileBytes& source) {
        // A read-only file is the user's decision; do not overrule it.
        const DWORD attrs = ::GetFileAttributesW(path.c_str());
        const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
        if (exists && (attrs & FILE_ATTRIBUTE_READONLY)) return Failed(ERROR_ACCESS_DENIED);

        const std::filesystem::path copy = CopyPathFor(path, TempFolder());
        const bool leftCopy = Exists(copy);

        std::filesystem::path temp = path;
        temp += L".new";
        const DWORD carried = exists ? attrs & kCarriedAttributes : 0;
        UniqueFile file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      carried ? carried : FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_ACCESS_DENIED && exists) {
                std::string content = Joined(pieces);
                source.Release();
                return RewriteInPlace(path, content, copy, leftCopy);
            }
            return Failed(err);
        }
        // Piece by piece: joining them first would copy the whole content into
        // fresh memory, which costs more than the calls.
        if (IoResult filled = Fill(std::move(file), temp, pieces); !filled) return filled;
        source.Release();
        if (IoResult swapped = SwapIn(path, temp, exists); !swapped) return swapped;
        // The new content supersedes what a cut-off rewrite left.
        if (leftCopy) ::DeleteFileW(copy.c_str());
        return IoResult::Success();
    }

    // ReplaceFileW keeps the old file's security, creation time and streams,
    // which a rename would give up for the folder's defaults.
    static IoResult SwapIn(const std::filesystem::path& path, const std::filesystem::path& temp,
                           bool exists) {
        if (exists && ReplaceFileIsWhole()) {
            if (::ReplaceFileW(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                               nullptr, nullptr))
                return IoResult::Success();
            const DWORD err = ::GetLastError();
            if (!MoveCanFinish(err)) {
                ::DeleteFileW(temp.c_str());
                return Failed(err);
            }
        }
        if (!::MoveFileExW(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD err = ::GetLastError();
            ::DeleteFileW(temp.c_str());
            return Failed(err);
        }
        return IoResult::Success();
    }

    // For a folder that refuses new files but a file that may be written (a
    // normal user's drive root or Program Files). Recoverable means: from
    // before the first byte of the file is overwritten until its new content
    // is flushed, a flushed copy of the old content lies at CopyPathFor's
    // place, and its removal is the commit. A crash in between leaves the
    // copy there; the next ReadAll puts it back, so the file reads as the old
    // content or the new one, and a person finds it by the file's name.
    static IoResult RewriteInPlace(const std::filesystem::path& path, std::string_view content,
                                   const std::filesystem::path& copy, bool leftCopy) {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return Failed(::GetLastError());
        // A copy left from before holds the last whole content; the file may not.
        FileRead old = leftCopy ? ReadPath(copy) : ReadOpen(file.get());
        if (old.status != FileRead::Status::kOk) return IoResult::Failure(old.reason);
        if (!leftCopy) {
            if (IoResult kept = KeepCopy(copy, old.bytes); !kept) return kept;
        }
        if (!Overwrite(file.get(), content)) {
            const DWORD err = ::GetLastError();
            PutBack(file.get(), copy, old.bytes);
            return Failed(err);
        }
        file.reset();
        // While the copy stays it counts as the content: the write did not happen.
        if (!::DeleteFileW(copy.c_str())) return Failed(::GetLastError());
        return IoResult::Success();
    }

    // The copy appears under its name only once whole, so that a crash while
    // it is written never leaves a torn copy to be put back.
    static IoResult KeepCopy(const std::filesystem::path& copy, std::string_view bytes) {
        std::filesystem::path partial = copy;
        partial.replace_extension(L".tmp");
        UniqueFile file(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return Failed(::GetLastError());
        if (IoResult filled = Fill(std::move(file), partial, {bytes}); !filled) return filled;
        if (!::MoveFileExW(partial.c_str(), copy.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD err = ::GetLastError();
            ::DeleteFileW(partial.c_str());
            return Failed(err);
        }
        return IoResult::Success();
    }

    // The copy's content is what the file holds; putting it back into the file
    // may fail (the file became read-only), and then the copy stays for later.
    static FileRead Recover(const std::filesystem::path& path, const std::filesystem::path& copy) {
        FileRead kept = ReadPath(copy);
        if (kept.status == FileRead::Status::kMissing) return ReadPath(path);
        if (kept.status != FileRead::Status::kOk) return kept;
        const DWORD attrs = ::GetFileAttributesW(path.c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_READONLY)) return kept;
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) PutBack(file.get(), copy, kept.bytes);
        return kept;
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static WindowsFileSystem fs;
    return fs;
}

}  // namespace quillet
