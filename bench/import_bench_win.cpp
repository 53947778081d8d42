// The import of the Standard edition's ten stores of 31,999-character texts:
// our one read and one write against the same 210 values copied one by one
// with the system's profile functions.
#include <windows.h>

#include <string>
#include <vector>

#include "bench_util_win.h"
#include "store/Module1.h"
#include "store/standard_import.h"

using namespace quillet;
using quillet::bench::Median;
using quillet::bench::Report;

namespace {

const std::wstring kSource = L"C:\\quilexr_bench.ini";
const std::string kSourceA = "C:\\quilexr_bench.ini";
const std::wstring kTarget = L"C:\\quilbdx_import_bench.ini";
const std::string kTargetA = "C:\\quilbdx_import_bench.ini";
constexpr int kRuns = 5;

// The Standard edition's file: ten stores full to the last character.
std::string StandardFile() {
    std::string file = "[Settings]\r\n";
    for (int s = 1; s <= kImportedStores; ++s)
        file += CaptionKey(s) + "=&" + std::to_string(s) + " Standard\r\n";
    for (int s = 1; s <= kImportedStores; ++s) {
        file.append("[").append(StoreSection(s)).append("]\r\n");
        for (int i = 0; i < kSlotCount; ++i) {
            file.append(TextKey(i)).append("=").append(31999, static_cast<char>('a' + i));
            file.append("\r\n").append(TitleKey(i)).append("=Standard ");
            file.append(std::to_string(i)).append("\r\n");
        }
    }
    return file;
}

// The program's file as the first start leaves it.
const std::string kNewTarget = "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n";

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    ::CloseHandle(f);
}

// Fresh copies of both files, so that no reader has them cached.
void Renew(const std::string& source) {
    WriteBytes(kSource, source);
    WriteBytes(kTarget, kNewTarget);
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, kSourceA.c_str());
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, kTargetA.c_str());
    ::Sleep(20);  // a new modification time for the system's cache check
}

}  // namespace

int main() {
    const std::string source = StandardFile();
    Settings settings(RealFileSystem(), SystemCodec());
    size_t sink = 0;

    const double ours = Median(
        kRuns, [&] { Renew(source); },
        [&] {
            IoResult failure;
            const auto standard =
                ReadStandardFile(RealFileSystem(), SystemCodec(), kSource, failure);
            if (!standard) return;
            const std::vector<Settings::Value> values = StandardImportValues(*standard);
            if (settings.WriteSettings(kTarget, values)) sink += values.size();
        });
    const std::wstring check = settings.ReadSetting(kTarget, "Savings10", "txt(9)", L"");
    if (check != std::wstring(31999, L'j')) return 1;

    const double anchor = Median(
        kRuns, [&] { Renew(source); },
        [&] {
            std::vector<char> buffer(32000);
            auto copy = [&](const std::string& section, const std::string& key) {
                const DWORD n = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "",
                                                           buffer.data(), 32000, kSourceA.c_str());
                ::WritePrivateProfileStringA(section.c_str(), key.c_str(),
                                             std::string(buffer.data(), n).c_str(),
                                             kTargetA.c_str());
                sink += n;
            };
            for (int s = 1; s <= kImportedStores; ++s) {
                for (int i = 0; i < kSlotCount; ++i) {
                    copy(StoreSection(s), TextKey(i));
                    copy(StoreSection(s), TitleKey(i));
                }
                copy(std::string(kSettingsSection), CaptionKey(s));
            }
            ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, kTargetA.c_str());
        });
    Report("import_full", ours, anchor);

    ::DeleteFileW(kSource.c_str());
    ::DeleteFileW(kTarget.c_str());
    return sink == 0 ? 1 : 0;
}
