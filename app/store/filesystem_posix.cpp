// The file system of the host build (used by the native tests and tools).
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "store/filesystem.h"

namespace quillet {

namespace {

std::wstring Reason(int err) {
    const std::string text = std::strerror(err);
    return std::wstring(text.begin(), text.end());
}

class PosixFileSystem final : public FileSystem {
  public:
    FileRead ReadAll(const std::filesystem::path& path) override {
        FileRead result;
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            result.status = errno == ENOENT || errno == ENOTDIR ? FileRead::Status::kMissing
                                                                : FileRead::Status::kError;
            result.reason = Reason(errno);
            return result;
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size > 0) result.bytes.reserve(st.st_size);
        char buffer[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) continue;
                result.status = FileRead::Status::kError;
                result.reason = Reason(errno);
                ::close(fd);
                return result;
            }
            if (got == 0) break;
            result.bytes.append(buffer, static_cast<size_t>(got));
        }
        ::close(fd);
        result.status = FileRead::Status::kOk;
        return result;
    }

    using FileSystem::ReplaceAtomically;
    IoResult ReplaceAtomically(const std::filesystem::path& path,
                               const std::vector<std::string_view>& pieces) override {
        std::filesystem::path temp = path;
        temp += ".new";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) return IoResult::Failure(Reason(errno));
        // The rename would otherwise give the file the default mode.
        struct stat old {};
        if (::stat(path.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) {
            const int err = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return IoResult::Failure(Reason(err));
        }
        for (std::string_view bytes : pieces) {
            size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (put < 0) {
                    if (errno == EINTR) continue;
                    const int err = errno;
                    ::close(fd);
                    ::unlink(temp.c_str());
                    return IoResult::Failure(Reason(err));
                }
                done += static_cast<size_t>(put);
            }
        }
        if (::fsync(fd) != 0 || ::close(fd) != 0) {
            const int err = errno;
            ::unlink(temp.c_str());
            return IoResult::Failure(Reason(err));
        }
        if (::rename(temp.c_str(), path.c_str()) != 0) {
            const int err = errno;
            ::unlink(temp.c_str());
            return IoResult::Failure(Reason(err));
        }
        return IoResult::Success();
    }

    bool FileExists(const std::filesystem::path& path) override {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    }
    bool DirectoryExists(const std::filesystem::path& path) override {
        std::error_code ec;
        return std::filesystem::is_directory(path, ec);
    }
    IoResult MakeDirectory(const std::filesystem::path& path) override {
        std::error_code ec;
        if (std::filesystem::create_directory(path, ec) || !ec) return IoResult::Success();
        const std::string text = ec.message();
        return IoResult::Failure(std::wstring(text.begin(), text.end()));
    }
    IoResult Remove(const std::filesystem::path& path) override {
        if (::unlink(path.c_str()) == 0) return IoResult::Success();
        return IoResult::Failure(Reason(errno));
    }
    IoResult Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (::rename(from.c_str(), to.c_str()) == 0) return IoResult::Success();
        return IoResult::Failure(Reason(errno));
    }
    std::filesystem::path TempFolder() override {
        std::error_code error;
        std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        return error ? std::filesystem::path("/tmp") : folder;
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace quillet
