// A writer killed at any moment leaves the settings file whole: either the
// old content or the new, never torn, empty or mixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/settings.h"

namespace quillet {
namespace {

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(AtomicReplace, FileKeepsItsMode) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quillet_mode_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "quilbdx.ini";
    ASSERT_TRUE(RealFileSystem().ReplaceAtomically(path, "old"));
    // A mode that no usual umask makes of the default for new files.
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);

    ASSERT_TRUE(RealFileSystem().ReplaceAtomically(path, "new"));

    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(Slurp(path), "new");
    std::filesystem::remove_all(dir);
}

TEST(AtomicReplace, KilledWritersNeverLeaveATornFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quillet_kill_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / "quilbdx.ini";

    // Two versions of a store that differ in every value.
    SettingsFile engine(RealFileSystem());
    auto version = [](char fill) {
        std::vector<SettingWrite> w;
        for (int i = 0; i < 10; ++i)
            w.push_back({"Savings1", "txt(" + std::to_string(i) + ")", std::string(30000, fill)});
        return w;
    };
    ASSERT_TRUE(engine.WriteRawMany(path, version('a')));
    const std::string oldContent = Slurp(path);
    {
        const auto other = dir / "other.ini";
        ASSERT_TRUE(engine.WriteRawMany(other, version('a')));
        ASSERT_TRUE(engine.WriteRawMany(other, version('b')));
    }
    const std::string newContent = Slurp(dir / "other.ini");
    ASSERT_NE(oldContent, newContent);

    // Kills spread over a few write times, measured here, so that some land
    // within the first write and some after it however fast this machine is.
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(engine.WriteRawMany(dir / "timing.ini", version('a')));
    const auto oneWrite = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - started) /
                          3;
    std::mt19937 random(12345);
    long long longest = std::max<long long>(2000, 3 * oneWrite.count());
    int sawOld = 0, sawNew = 0;
    for (int kill = 0; kill < 200; ++kill) {
        // A loaded machine writes slower than it measured: while no kill has
        // come after a finished write, the kills spread wider.
        if (kill % 25 == 24 && sawNew == 0) longest *= 2;
        std::uniform_int_distribution<long long> delayMicros(0, longest);
        // Each writer first writes the version the file does not hold.
        const bool startWithNew = Slurp(path) == oldContent;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SettingsFile writer(RealFileSystem());
            for (bool b = startWithNew;; b = !b) writer.WriteRawMany(path, version(b ? 'b' : 'a'));
        }
        ::usleep(static_cast<useconds_t>(delayMicros(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = Slurp(path);
        ASSERT_TRUE(now == oldContent || now == newContent)
            << "kill " << kill << " left " << now.size() << " bytes";
        (now == oldContent ? sawOld : sawNew)++;
    }
    // The kills must have landed both before and after completed writes.
    EXPECT_GT(sawOld, 0) << sawNew << " kills found the new content";
    EXPECT_GT(sawNew, 0) << sawOld << " kills found the old content";
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillet
