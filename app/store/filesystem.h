// The file operations the core needs, behind an interface so that tests can
// fake a full disk or a read-only file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Outcome of a platform call: ok, or the system's own words for what failed.
struct IoResult {
    bool ok = true;
    std::wstring reason;

    static IoResult Success() { return {}; }
    static IoResult Failure(std::wstring why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

struct FileRead {
    enum class Status { kOk, kMissing, kError };
    Status status = Status::kMissing;
    std::string bytes;
    std::wstring reason;  // for kError
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The whole file. A missing file and one that cannot be read differ: a
    // writer may start afresh over the first, never over the second. What a
    // cut-off in-place rewrite (below) kept aside is the content, put back first.
    virtual FileRead ReadAll(const std::filesystem::path& path) = 0;

    // Puts the pieces, one after the other, in place of the file so that a
    // crash at any moment leaves either the old or the new content: written
    // beside it, flushed, swapped in with the old file's attributes and access
    // rights. On Windows a read-only file is refused, and where the folder
    // refuses new files the file is rewritten in place while a copy of the old
    // content waits in the temporary folder. Pieces spare the caller joining
    // a big file.
    virtual IoResult ReplaceAtomically(const std::filesystem::path& path,
                                       const std::vector<std::string_view>& pieces) = 0;
    IoResult ReplaceAtomically(const std::filesystem::path& path, std::string_view bytes) {
        return ReplaceAtomically(path, std::vector<std::string_view>{bytes});
    }

    virtual bool FileExists(const std::filesystem::path& path) = 0;
    virtual bool DirectoryExists(const std::filesystem::path& path) = 0;
    virtual IoResult MakeDirectory(const std::filesystem::path& path) = 0;
    virtual IoResult Remove(const std::filesystem::path& path) = 0;
    virtual IoResult Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // The user's folder for temporary files.
    virtual std::filesystem::path TempFolder() = 0;
};

// The real file system of the host (the portable build) or of Windows.
FileSystem& RealFileSystem();

}  // namespace quillet
