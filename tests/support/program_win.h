// Drives the real program under test: installs it where a user has it,
// starts it with a clean drive C:, finds its windows and answers its boxes.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quillet::testing {

inline constexpr wchar_t kInstallFolder[] = L"C:\\Program Files\\Quillet Pro";
inline constexpr wchar_t kInstalledExe[] = L"C:\\Program Files\\Quillet Pro\\quilletpro.exe";
inline constexpr wchar_t kSettingsFile[] = L"C:\\quilbdx.ini";

// Waits until `done` holds, pumping this thread's messages; false on timeout.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::seconds(20));
// A visible top-level window of this class and title, once it shows.
HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* title = nullptr);
// A click of the left button near a window's corner, posted.
void PostClick(HWND w);
// Sends and waits for the answer, so that what the message started is done.
LRESULT SendAndWait(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0);

// Where the program keeps its settings when the drive root refuses them.
std::wstring UserSettingsFile();

// Removes what the program keeps on drive C: so each test starts afresh.
void CleanDriveC();

// Copies the built program into the install folder (once per test run).
void InstallProgram();

std::string ReadFileBytes(const std::wstring& path);
// A UTF-8 file's lines, each with its line feed taken off; a last line
// without one is not whole yet and left out.
std::vector<std::wstring> FileLines(const std::wstring& path);

// The default value of a key of HKEY_LOCAL_MACHINE; empty when there is none.
std::wstring ReadDefault(const std::wstring& key);
void WriteDefault(const std::wstring& key, const std::wstring& value);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// The profile functions' view of the settings file (a second reader).
std::string ProfileValue(const char* section, const char* key, const char* fallback = "<absent>");

// The test's own access to the clipboard, as another program would have it.
bool PutClipboardText(const std::wstring& text);
std::wstring ClipboardText();
bool PutClipboardBitmap();

// A control's rectangle in its window's client pixels, and its font's height.
RECT InClient(HWND window, HWND control);
int FontHeight(HWND control);
// Tells a window it is now on a monitor of `dpi`, at the suggested place.
void MoveToDpi(HWND window, int dpi, RECT suggested);

class RunningProgram {
  public:
    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts the installed program and waits for its main window.
    bool Start();
    // The same in two steps, for a start-up that asks a question first: the
    // main window is there, its start-up not yet over.
    bool Launch();
    bool WaitReady();
    // Starts another copy and returns its exit code (it is expected to end).
    static DWORD RunSecondCopy();

    HWND Window() const { return window_; }
    HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    bool Running() const;
    // Posts a menu command the way a click on the item does.
    void Command(int id) const;
    // A click on a store label of the strip.
    void ClickStoreLabel(int store) const;
    // Ends the process at once, as Task Manager's End process does.
    void Kill() const;
    // Waits for the process to end; false if it did not within the time.
    bool WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // The program's message box with this title, once it shows.
    HWND WaitForBox(const wchar_t* title) const;
    static void Answer(HWND box, int button);
    // The button a box's Enter presses.
    static int DefaultButton(HWND box);
    static std::wstring TextOf(HWND w);
    void SetText(int id, const std::wstring& text) const;

  private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace quillet::testing
