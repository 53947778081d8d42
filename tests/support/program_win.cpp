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

// The built program, given by the build as a host path; Wine shows the host
// file system as drive Z:.
std::wstring BuiltProgram() {
    return WinePath(QUILLET_PROGRAM_PATH);
}

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindMain(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = {};
    ::GetClassNameW(w, cls, 64);
    if (pid == f->pid && std::wstring(cls) == L"QuilletProMain") {
        f->window = w;
        return FALSE;
    }
    return TRUE;
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
    ::CopyFileW(BuiltProgram().c_str(), kInstalledExe, FALSE);
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
        const std::string line = bytes.substr(from, at - from);
        std::wstring wide(line.size(), L'\0');
        wide.resize(static_cast<size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()),
                                  wide.data(), static_cast<int>(wide.size()))));
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
    UniqueKey k;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          k.put(), nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(k.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
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

RunningProgram::~RunningProgram() {
    if (process_.hProcess) {
        if (Running()) ::TerminateProcess(process_.hProcess, 99);
        ::WaitForSingleObject(process_.hProcess, 5000);
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
    }
}

bool RunningProgram::Start() {
    return Launch() && WaitReady();
}

bool RunningProgram::WaitReady() {
    return window_ && WaitFor([&] { return ::GetPropW(window_, L"QuilletPro.Ready") != nullptr; });
}

bool RunningProgram::Launch() {
    STARTUPINFOW si{sizeof si};
    std::wstring command = L"\"" + std::wstring(kInstalledExe) + L"\"";
    if (!::CreateProcessW(kInstalledExe, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          kInstallFolder, &si, &process_))
        return false;
    ::WaitForInputIdle(process_.hProcess, 20000);
    Found f{process_.dwProcessId, nullptr};
    WaitFor([&] {
        ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&f));
        return f.window != nullptr;
    });
    window_ = f.window;
    return window_ != nullptr;
}

DWORD RunningProgram::RunSecondCopy() {
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + std::wstring(kInstalledExe) + L"\"";
    if (!::CreateProcessW(kInstalledExe, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          kInstallFolder, &si, &pi))
        return static_cast<DWORD>(-1);
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(pi.hProcess, &code);
    else
        ::TerminateProcess(pi.hProcess, 98);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return code;
}

bool RunningProgram::Running() const {
    return process_.hProcess && ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool PutClipboardText(const std::wstring& text) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (!block) return false;
    std::memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(block);
    if (!::OpenClipboard(nullptr)) {
        ::GlobalFree(block);
        return false;
    }
    ::EmptyClipboard();
    const bool ok = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!ok) ::GlobalFree(block);
    ::CloseClipboard();
    return ok;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return L"<not open>";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    } else {
        text = L"<no text>";
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



void RunningProgram::ClickStoreLabel(int store) const {
    HWND label = ::GetDlgItem(Control(2000), 2001 + store);
    ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
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
    HWND box = nullptr;
    WaitFor([&] {
        box = ::FindWindowW(L"#32770", title);
        return box != nullptr && ::IsWindowVisible(box);
    });
    return box;
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
