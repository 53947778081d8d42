// The Windows file system: atomic replacement through MoveFileEx.
#include <windows.h>

#include "store/filesystem.h"
#include "util/handles_win.h"
#include "util/strings_win.h"

namespace quillet {

namespace {

class WindowsFileSystem final : public FileSystem {
  public:
    FileRead ReadAll(const std::filesystem::path& path) override {
        FileRead result;
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) {
            const DWORD err = ::GetLastError();
            result.status = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND
                                ? FileRead::Status::kMissing
                                : FileRead::Status::kError;
            result.reason = SystemMessage(err);
            return result;
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7fffffff) {
            result.status = FileRead::Status::kError;
            result.reason = SystemMessage(::GetLastError());
            return result;
        }
        result.bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < result.bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(result.bytes.size() - done);
            if (!::ReadFile(file.get(), result.bytes.data() + done, want, &got, nullptr)) {
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

    using FileSystem::ReplaceAtomically;
    IoResult ReplaceAtomically(const std::filesystem::path& path,
                               const std::vector<std::string_view>& pieces) override {
        // A read-only file is the user's decision; do not overrule it.
        const DWORD attrs = ::GetFileAttributesW(path.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
            return IoResult::Failure(SystemMessage(ERROR_ACCESS_DENIED));

        std::filesystem::path temp = path;
        temp += L".new";
        {
            UniqueFile file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) return IoResult::Failure(SystemMessage(::GetLastError()));
            for (std::string_view bytes : pieces) {
                size_t done = 0;
                while (done < bytes.size()) {
                    DWORD put = 0;
                    const DWORD want =
                        static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
                    if (!::WriteFile(file.get(), bytes.data() + done, want, &put, nullptr) ||
                        put == 0) {
                        const DWORD err = ::GetLastError();
                        file.reset();
                        ::DeleteFileW(temp.c_str());
                        return IoResult::Failure(SystemMessage(err));
                    }
                    done += put;
                }
            }
            if (!::FlushFileBuffers(file.get())) {
                const DWORD err = ::GetLastError();
                file.reset();
                ::DeleteFileW(temp.c_str());
                return IoResult::Failure(SystemMessage(err));
            }
        }
        if (!::MoveFileExW(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD err = ::GetLastError();
            ::DeleteFileW(temp.c_str());
            return IoResult::Failure(SystemMessage(err));
        }
        return IoResult::Success();
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
        return IoResult::Failure(SystemMessage(::GetLastError()));
    }
    IoResult Remove(const std::filesystem::path& path) override {
        if (::DeleteFileW(path.c_str())) return IoResult::Success();
        return IoResult::Failure(SystemMessage(::GetLastError()));
    }
    IoResult Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (::MoveFileW(from.c_str(), to.c_str())) return IoResult::Success();
        return IoResult::Failure(SystemMessage(::GetLastError()));
    }
    std::filesystem::path TempFolder() override {
        wchar_t buffer[MAX_PATH + 1] = {};
        const DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
        if (n == 0 || n > MAX_PATH) return std::filesystem::path(L"C:\\");
        return std::filesystem::path(buffer);
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static WindowsFileSystem fs;
    return fs;
}

}  // namespace quillet
