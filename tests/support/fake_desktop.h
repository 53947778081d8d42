// The program's other windows, its Run keys and the hotkey component as
// fakes that record what the logic asks of them.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "background/hotkey_host.h"
#include "background/tray_view.h"
#include "help/info_windows.h"
#include "pictures/preview_view.h"
#include "print/printer.h"
#include "util/auto_run.h"

namespace quillet::testing {

// The tray icon, the preview, the print window and the help windows as one
// recorder, in the order the logic reaches them.
class RecordingWindows final : public TrayView,
                               public PreviewView,
                               public Printer,
                               public InfoWindows {
  public:
    explicit RecordingWindows(const bool& mainShown) : mainShown_(mainShown) {}
    std::vector<std::string> calls;
    TrayMenu menu;  // the last one shown
    std::vector<std::wstring> previews;

    int Count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : calls) n += c == call;
        return n;
    }

    bool CreateIcon(std::wstring_view tip) override {
        if (tip != L"Quillet Pro") calls.push_back("icon with another tip");
        calls.push_back(mainShown_ ? "icon while shown" : "icon while hidden");
        return true;
    }
    void DeleteIcon() override { calls.push_back("no icon"); }
    void ShowMenu(const TrayMenu& m) override {
        calls.push_back("tray menu");
        menu = m;
    }
    void ShowPicture(const std::wstring& path) override {
        calls.push_back("preview");
        previews.push_back(path);
    }
    void Close() override { calls.push_back("close preview or print"); }
    IoResult PrintWindowImage() override { return IoResult::Success(); }
    void ShowPrintWindow() override { calls.push_back("print window"); }
    void ShowHelp() override { calls.push_back("help"); }
    void ShowAbout() override { calls.push_back("about"); }
    void CloseAll() override { calls.push_back("close help and about"); }

  private:
    const bool& mainShown_;
};

// Each key refuses in words of its own, so a message shows whose it gives.
class FakeAutoRun final : public AutoRunEntries {
  public:
    std::map<Scope, std::wstring> values;
    std::set<Scope> refused;
    static std::wstring Refusal(Scope scope) {
        return scope == Scope::kMachine ? L"Access is denied." : L"The user's key is locked.";
    }
    IoResult Set(Scope scope, std::wstring_view command) override {
        if (refused.count(scope)) return IoResult::Failure(Refusal(scope));
        values[scope] = std::wstring(command);
        return IoResult::Success();
    }
    IoResult Remove(Scope scope) override {
        if (refused.count(scope)) return IoResult::Failure(Refusal(scope));
        values.erase(scope);
        return IoResult::Success();
    }
};

// The component as ids handed out in order, and a layout without AltGr.
class FakeHotkeyHost final : public HotkeyHost, public HotkeyService, public KeyboardLayout {
  public:
    std::function<void(int32_t)> press;
    int starts = 0, stops = 0;
    int32_t next = -100;
    HotkeyService* StartHotkeys(std::function<void(int32_t)> onPress) override {
        ++starts;
        press = std::move(onPress);
        return this;
    }
    void StopHotkeys() override { ++stops; }
    KeyboardLayout& Layout() override { return *this; }
    int32_t SetHotKey(int, int) override { return next--; }
    bool CtrlAltTypesCharacter(int) override { return false; }
};

}  // namespace quillet::testing
