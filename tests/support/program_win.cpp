// Installing, starting and driving the real program from a test process.
#include "support/program_win.h"

#include "base/handles_win.h"
#include "support/wine_path_win.h"
#include "util/known_folder_win.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace quillet::testing {

namespace {

// The installed program started as a user starts it, from its own folder.
bool StartInstalled(PROCESS_INFORMATION& process) {
    STARTUPINFOW si{sizeof si};
    std::wstring command = L"\"" + std::wstring(kInstalledExe) + L"\"";
    return ::CreateProcessW(kInstalledExe, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            kInstallFolder, &si, &process) != FALSE;
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* title) {
    HWND found = nullptr;
    WaitFor([&] {
        found = ::FindWindowW(windowClass, title);
        return found && ::IsWindowVisible(found);
    });
    return found;
}

void PostClick(HWND w) {
    ::PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

LRESULT SendAndWait(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR answer = 99;
    ::SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 20000, &answer);
    return static_cast<LRESULT>(answer);
}

std::wstring UserSettingsFile() {
    return KnownFolder(FOLDERID_RoamingAppData) + L"\\Quillet Pro\\quilbdx.ini";
}

void CleanDriveC() {
    std::error_code ec;
    ::RemoveDirectoryW(kSettingsFile);
    ::DeleteFileW(UserSettingsFile().c_str());
    for (const wchar_t* f :
         {L"C:\\quilbdx.ini", L"C:\\quilbdx.ini.new",
          L"C:\\Program Files\\Quillet Pro\\quilbdx.ini", L"C:\\Internet Shortcut.url",
          // A Standard edition's file would hold every start at the import question.
          L"C:\\quilexr.ini", L"C:\\Program Files\\Quillet Pro\\quilexr.ini", L"C:\\rem01.ini"}) {
        ::SetFileAttributesW(f, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(f);
    }
    std::filesystem::remove_all(L"C:\\ClipPics", ec);
}

void InstallProgram() {
    std::filesystem::create_directories(kInstallFolder);
    // Wine shows the host's file system, where the build put it, as drive Z:.
    ::CopyFileW(WinePath(QUILLET_PROGRAM_PATH).c_str(), kInstalledExe, FALSE);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::wstring> FileLines(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::wstring> lines;
    size_t from = 0;
    for (size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', from)) {
        const int n = static_cast<int>(at - from);
        std::wstring wide(static_cast<size_t>(n), L'\0');
        wide.resize(static_cast<size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, bytes.data() + from, n, wide.data(), n)));
        lines.push_back(wide);
        from = at + 1;
    }
    return lines;
}

std::wstring ReadDefault(const std::wstring& key) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                       &size) != ERROR_SUCCESS)
        return {};
    return value;
}

void WriteDefault(const std::wstring& key, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ProfileValue(const char* section, const char* key, const char* fallback) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "C:\\quilbdx.ini");
    std::vector<char> buffer(70000);
    const DWORD n =
        ::GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                   static_cast<DWORD>(buffer.size()), "C:\\quilbdx.ini");
    return std::string(buffer.data(), n);
}

RECT InClient(HWND window, HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int FontHeight(HWND control) {
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf,
                 &lf);
    return std::abs(lf.lfHeight);
}

void MoveToDpi(HWND window, int dpi, RECT suggested) {
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
}

bool PutClipboardText(const std::wstring& text) {
    UniqueGlobal block = GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    if (!block || !::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, block.get())) block.release();
    ::CloseClipboard();
    return !block;
}

std::wstring ClipboardText() {
    if (!::OpenClipboard(nullptr)) return L"<not open>";
    std::wstring text = L"<no text>";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

bool PutClipboardBitmap() {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    ::ReleaseDC(nullptr, screen);
    if (!bitmap || !::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    const bool ok = ::SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    ::CloseClipboard();
    return ok;
}

RunningProgram::~RunningProgram() {
    if (!process_.hProcess) return;
    Kill();
    ::WaitForSingleObject(process_.hProcess, 5000);
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
}

bool RunningProgram::Start() {
    return Launch() && WaitReady();
}

bool RunningProgram::WaitReady() {
    return window_ && WaitFor([&] { return ::GetPropW(window_, L"QuilletPro.Ready") != nullptr; });
}

bool RunningProgram::Launch() {
    if (!StartInstalled(process_)) return false;
    ::WaitForInputIdle(process_.hProcess, 20000);
    WaitFor([&] {
        for (HWND w = ::FindWindowExW(nullptr, nullptr, L"QuilletProMain", nullptr); w;
             w = ::FindWindowExW(nullptr, w, L"QuilletProMain", nullptr)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == process_.dwProcessId) window_ = w;
        }
        return window_ != nullptr;
    });
    return window_ != nullptr;
}

DWORD RunningProgram::RunSecondCopy() {
    RunningProgram second;
    if (!StartInstalled(second.process_)) return static_cast<DWORD>(-1);
    DWORD code = STILL_ACTIVE;
    if (second.WaitForExit()) ::GetExitCodeProcess(second.process_.hProcess, &code);
    return code;
}

bool RunningProgram::Running() const {
    return process_.hProcess && ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void RunningProgram::ClickStoreLabel(int store) const {
    PostClick(::GetDlgItem(Control(2000), 2001 + store));
}

void RunningProgram::Command(int id) const {
    ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void RunningProgram::Kill() const {
    if (Running()) ::TerminateProcess(process_.hProcess, 1);
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout) {
    return WaitFor([&] { return !Running(); }, timeout);
}

HWND RunningProgram::WaitForBox(const wchar_t* title) const {
    return WaitForWindow(L"#32770", title);
}

void RunningProgram::Answer(HWND box, int button) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
}

int RunningProgram::DefaultButton(HWND box) {
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDRETRY}) {
        HWND b = ::GetDlgItem(box, id);
        if (b && (::GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return id;
    }
    return 0;
}

std::wstring RunningProgram::TextOf(HWND w) {
    wchar_t buffer[4096] = {};
    ::SendMessageW(w, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void RunningProgram::SetText(int id, const std::wstring& text) const {
    ::SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace quillet::testing
