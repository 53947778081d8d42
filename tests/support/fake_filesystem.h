// An in-memory file system for the core's tests: files, folders, and writes
// that fail on request.
#pragma once

#include <map>
#include <set>
#include <string>

#include "store/filesystem.h"

namespace quillet::testing {

class FakeFileSystem final : public FileSystem {
  public:
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> folders;
    std::set<std::wstring> readOnly;    // writes fail with "Access is denied."
    std::set<std::wstring> unreadable;  // reads fail although the file exists
    int replaceCount = 0;
    int readCount = 0;

    FileRead ReadAll(const std::filesystem::path& path) override {
        ++readCount;
        FileRead r;
        if (unreadable.count(path.wstring())) {
            r.status = FileRead::Status::kError;
            r.reason = L"The process cannot access the file.";
            return r;
        }
        auto it = files.find(path.wstring());
        if (it == files.end()) return r;
        r.status = FileRead::Status::kOk;
        r.bytes = it->second;
        return r;
    }
    using FileSystem::ReplaceAtomically;
    IoResult ReplaceAtomically(const std::filesystem::path& path,
                               const std::vector<std::string_view>& pieces) override {
        if (readOnly.count(path.wstring())) return IoResult::Failure(L"Access is denied.");
        std::string bytes;
        for (std::string_view piece : pieces) bytes += piece;
        files[path.wstring()] = std::move(bytes);
        ++replaceCount;
        return IoResult::Success();
    }
    bool FileExists(const std::filesystem::path& path) override {
        return files.count(path.wstring()) > 0;
    }
    bool DirectoryExists(const std::filesystem::path& path) override {
        return folders.count(path.wstring()) > 0;
    }
    IoResult MakeDirectory(const std::filesystem::path& path) override {
        folders.insert(path.wstring());
        return IoResult::Success();
    }
    IoResult Remove(const std::filesystem::path& path) override {
        if (readOnly.count(path.wstring())) return IoResult::Failure(L"Access is denied.");
        if (!files.erase(path.wstring()))
            return IoResult::Failure(L"The system cannot find the file specified.");
        return IoResult::Success();
    }
    IoResult Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        auto it = files.find(from.wstring());
        if (it == files.end() || files.count(to.wstring()))
            return IoResult::Failure(L"The system cannot find the file specified.");
        files[to.wstring()] = it->second;
        files.erase(from.wstring());
        return IoResult::Success();
    }
    std::filesystem::path TempFolder() override { return tempFolder; }
    std::wstring tempFolder = L"C:\\Users\\me\\Temp";
};

}  // namespace quillet::testing
