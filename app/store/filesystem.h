// The file operations the core needs, behind an interface so that tests can
// fake a full disk or a read-only file.
#pragma once

#include <filesystem>
#include <memory>
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

// A file's bytes: a copy in memory, or a view of the file mapped into memory
// that holds the file until it is released.
class FileBytes {
  public:
    FileBytes() = default;
    explicit FileBytes(std::string bytes) : owned_(std::move(bytes)) {}
    FileBytes(std::string_view mapped, std::shared_ptr<const void> mapping)
        : mapped_(mapped), mapping_(std::move(mapping)) {}

    std::string_view View() const { return mapping_ ? mapped_ : std::string_view(owned_); }
    bool Mapped() const { return mapping_ != nullptr; }
    // Views taken before are invalid afterwards.
    void Release() {
        mapping_.reset();
        mapped_ = {};
        std::string().swap(owned_);
    }

  private:
    std::string owned_;
    std::string_view mapped_;
    std::shared_ptr<const void> mapping_;
};

struct FileContent {
    FileContent() = default;
    explicit FileContent(FileRead read)
        : status(read.status), bytes(std::move(read.bytes)), reason(std::move(read.reason)) {}

    FileRead::Status status = FileRead::Status::kMissing;
    FileBytes bytes;
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

    // For a reader that is about to replace the file: ReadAll's content, which
    // may be a view of the file mapped into memory. A fresh copy of megabytes
    // costs more than the write that follows it.
    virtual FileContent ReadForReplace(const std::filesystem::path& path) {
        return FileContent(ReadAll(path));
    }
    // ReplaceAtomically for pieces that may point into `source`, what
    // ReadForReplace gave for this path: a mapped file cannot be replaced,
    // so the source is released once the pieces are written, and in every
    // case before this returns.
    virtual IoResult ReplaceAtomically(const std::filesystem::path& path,
                                       const std::vector<std::string_view>& pieces,
                                       FileBytes& source) {
        IoResult result = ReplaceAtomically(path, pieces);
        source.Release();
        return result;
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
