// Loading and saving one store of the full settings file: our engine against
// the system's profile functions and against plain reads and writes.
#include <windows.h>

#include <string>
#include <vector>

#include "bench_util_win.h"
#include "store/Module1.h"
#include "store/encoding.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::Report;

namespace {

const std::wstring kPath = L"C:\\quillet_bench.ini";
const std::string kPathA = "C:\\quillet_bench.ini";
constexpr int kRuns = 9;  // the flush alone varies by half from run to run

std::string FullFile() {
    std::string file = "[Settings]\r\nStoreNumber=3\r\n";
    for (int store = 0; store < kStoreCount; ++store) {
        file.append("[").append(StoreSection(store)).append("]\r\n");
        for (int i = 0; i < kSlotCount; ++i) {
            file.append(TextKey(i)).append("=").append(31999, static_cast<char>('a' + i));
            file.append("\r\n").append(TitleKey(i)).append("=Title ");
            file.append(std::to_string(i)).append("\r\n");
        }
    }
    return file;
}

void WriteBytes(const std::string& bytes, bool flush = false) {
    HANDLE f = ::CreateFileW(kPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    if (flush) ::FlushFileBuffers(f);
    ::CloseHandle(f);
}

std::string ReadBytes() {
    HANDLE f = ::CreateFileW(kPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             0, nullptr);
    LARGE_INTEGER size{};
    ::GetFileSizeEx(f, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    ::ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(f);
    return bytes;
}

// A fresh copy of the file, so that nothing of it is cached by the reader.
// It is flushed, as a settings file written minutes ago lies on the disk:
// otherwise the save's own flush also pays for writing out the copy.
void Renew(const std::string& bytes) {
    WriteBytes(bytes, true);
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, kPathA.c_str());
    ::Sleep(20);  // a new modification time for the system's cache check
}

}  // namespace

int main() {
    const std::string full = FullFile();
    Settings settings(RealFileSystem(), SystemCodec());
    const std::string section = StoreSection(3);
    size_t sink = 0;

    const double oursLoad = Median(
        kRuns, [&] { Renew(full); },
        [&] {
            for (const auto& v : settings.ReadSettings(kPath, section, StoreKeys()))
                sink += v.size();
        });
    const double apiLoad = Median(
        kRuns, [&] { Renew(full); },
        [&] {
            std::vector<char> buffer(32000);
            for (const std::string& key : StoreKeys())
                sink += ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                   32000, kPathA.c_str());
        });
    const double plainRead = Median(
        kRuns, [&] { Renew(full); }, [&] { sink += ReadBytes().size(); });
    Report("load_full", oursLoad, apiLoad);
    Report("load_full_vs_read", oursLoad, plainRead);

    // The values are ready before the clock starts, as the text the anchor writes is.
    int round = 0;
    std::vector<Settings::Value> batch;
    auto values = [&](int r) {
        std::vector<Settings::Value> batch;
        for (int i = 0; i < kSlotCount; ++i) {
            batch.push_back({section, TextKey(i),
                             std::wstring(31999, static_cast<wchar_t>(L'k' + (r + i) % 10))});
            batch.push_back({section, TitleWriteKey(i), L"Saved " + std::to_wstring(r)});
        }
        return batch;
    };
    const double oursSave = Median(
        kRuns,
        [&] {
            Renew(full);
            batch = values(++round);
        },
        [&] { settings.WriteSettings(kPath, batch); });
    const double apiSave = Median(
        kRuns,
        [&] {
            Renew(full);
            batch = values(++round);
        },
        [&] {
            for (const auto& v : batch) {
                const std::string text(v.value.begin(), v.value.end());
                ::WritePrivateProfileStringA(v.section.c_str(), v.key.c_str(), text.c_str(),
                                             kPathA.c_str());
            }
        });
    // A save that survives a crash costs at least one write and one flush.
    const double plainWrite = Median(
        kRuns, [&] { Renew(full); }, [&] { WriteBytes(full, true); });
    const double unflushedWrite = Median(
        kRuns, [&] { Renew(full); }, [&] { WriteBytes(full); });
    Report("save_full", oursSave, apiSave);
    Report("save_full_vs_write", oursSave, plainWrite);
    Report("save_full_vs_unflushed_write", oursSave, unflushedWrite);

    // The same save into the same file in the profile functions' UTF-16 form.
    const std::string unicode = Utf16FileFromUtf8(full);
    // Against one flushed write of the same Unicode file, in turns: the
    // flush varies by half from one moment to the next.
    const auto [unicodeSave, unicodeWrite] = quillet::bench::MediansInTurns(
        kRuns,
        [&](int) {
            Renew(unicode);
            batch = values(++round);
        },
        [&] { settings.WriteSettings(kPath, batch); }, [&] { WriteBytes(unicode, true); });
    Report("save_unicode", unicodeSave, unicodeWrite);
    // What a save reads first: the file whole, parsed (context for the above).
    const double unicodeLoad = Median(
        kRuns, [&] { Renew(unicode); },
        [&] {
            for (const auto& v : settings.ReadSettings(kPath, section, StoreKeys()))
                sink += v.size();
        });
    const double unicodeRead = Median(
        kRuns, [&] { Renew(unicode); }, [&] { sink += ReadBytes().size(); });
    Report("load_unicode_vs_read", unicodeLoad, unicodeRead);

    ::DeleteFileW(kPath.c_str());
    return sink == 0 ? 1 : 0;
}
