// A main window made of plain fields, and a prompt that answers from a script.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "clipboard.h"
#include "main_view.h"
#include "store/Module1.h"
#include "util/ModuleIP.h"
#include "util/shell_launch.h"

namespace quillet::testing {

class FakeView final : public MainView, public SlotRowsView, public ProgressView {
  public:
    WindowGeometry geometry{1500, 500, 9500, 6500, WindowState::kNormal};
    int screenWidth = 19200, screenHeight = 14400;  // 1280 x 960 pixels
    std::wstring caption;
    bool visible = false;
    bool topMost = false;
    std::vector<bool> topMostCalls;
    int dpi = 96;
    int moves = 0;
    int beeps = 0;
    int focusedPaste = -1;
    int layouts = 0;
    bool lastMirror = false, lastPictures = false;
    bool picturesShown = false;
    std::array<std::wstring, 10> text, title;
    std::array<std::wstring, 16> storeCaption, tooltip;
    std::array<bool, 16> labelCurrent{};
    std::map<int, bool> checked, enabled;
    unsigned titleColour = 0, textColour = 0;
    std::wstring clipboardText, clipboardLength;
    std::vector<std::wstring> progress;  // what the progress window went through

    FakeView() {
        storeCaption[0] = L"&P Pictures";
        for (int n = 1; n < 16; ++n) storeCaption[n] = DefaultCaption(n);
    }

    void SetCaption(std::wstring_view c) override { caption = c; }
    WindowGeometry Geometry() const override { return geometry; }
    void MoveTo(int left, int top) override {
        geometry.left = left;
        geometry.top = top;
    }
    void SetWidth(int width) override { geometry.width = width; }
    void ScreenSize(int& w, int& h) const override {
        w = screenWidth;
        h = screenHeight;
    }
    int Dpi() const override { return dpi; }
    void StartMove() override { ++moves; }
    void ShowNormal() override {
        visible = true;
        geometry.state = WindowState::kNormal;
    }
    void Hide() override { visible = false; }
    bool IsVisible() const override { return visible; }
    void SetTopMost(bool onTop) override {
        topMost = onTop;
        topMostCalls.push_back(onTop);
    }
    void Repaint() override {}
    void Layout(bool mirror, bool pictures) override {
        ++layouts;
        lastMirror = mirror;
        lastPictures = pictures;
    }
    void Beep() override { ++beeps; }
    SlotRowsView& Rows() override { return *this; }
    std::wstring Text(int slot) const override { return text[slot]; }
    void SetText(int slot, std::wstring_view t) override { text[slot] = t; }
    std::wstring Title(int slot) const override { return title[slot]; }
    void SetTitle(int slot, std::wstring_view t) override { title[slot] = t; }
    void SetColours(unsigned t, unsigned x) override {
        titleColour = t;
        textColour = x;
    }
    void FocusPaste(int slot) override { focusedPaste = slot; }
    // The focused slot box and its selection [selStart, selStart + selLength).
    std::optional<BoxRef> active;
    size_t selStart = 0, selLength = 0;
    int pumps = 0, activations = 0, popups = 0;
    std::optional<BoxRef> ActiveBox() const override { return active; }
    std::wstring SelectedText(BoxRef box) const override {
        const std::wstring& t = Box(box);
        return selStart >= t.size() ? std::wstring() : t.substr(selStart, selLength);
    }
    void ReplaceSelection(BoxRef box, std::wstring_view with) override {
        std::wstring& t = Box(box);
        const size_t at = std::min(selStart, t.size());
        t.replace(at, std::min(selLength, t.size() - at), with);
        selStart = at + with.size();
        selLength = 0;
    }
    void SelectAll(BoxRef box) override {
        selStart = 0;
        selLength = Box(box).size();
    }
    void Select(BoxRef box, size_t start, size_t length) override {
        active = box;
        selStart = start;
        selLength = length;
    }
    void PumpEvents() override { ++pumps; }
    void Activate() override { ++activations; }
    void SetStoreCaption(int store, std::wstring_view c) override { storeCaption[store] = c; }
    void SetStoreTooltip(int store, std::wstring_view t) override { tooltip[store] = t; }
    void MarkStoreLabel(int store, bool current) override { labelCurrent[store] = current; }
    void ShowPictures(bool shown) override { picturesShown = shown; }
    void SetClipboardText(std::wstring_view t) override { clipboardText = t; }
    void SetClipboardLength(std::wstring_view t) override { clipboardLength = t; }
    ProgressView& Progress() override { return *this; }
    void ShowProgress(std::wstring_view caption, std::wstring_view label) override {
        progress.push_back(L"show " + std::wstring(caption) + L" / " + std::wstring(label));
    }
    void ShowProgressBlock(int block) override {
        progress.push_back(L"block " + std::to_wstring(block));
    }
    void SetProgressLabel(std::wstring_view label) override {
        progress.push_back(L"label " + std::wstring(label));
    }
    void CloseProgress() override { progress.push_back(L"close"); }
    std::wstring& Box(BoxRef b) {
        return b.kind == BoxRef::Kind::kText ? text[b.slot] : title[b.slot];
    }
    const std::wstring& Box(BoxRef b) const {
        return b.kind == BoxRef::Kind::kText ? text[b.slot] : title[b.slot];
    }
    bool IsChecked(int item) const {
        auto it = checked.find(item);
        return it != checked.end() && it->second;
    }
    void SetChecked(int item, bool c) override { checked[item] = c; }
    void SetEnabled(int item, bool e) override { enabled[item] = e; }

    int CheckedStores() const {
        int n = 0;
        for (int s = 0; s < 16; ++s) n += IsChecked(1200 + s) ? 1 : 0;
        return n;
    }
};

class FakeClipboard final : public Clipboard {
  public:
    std::optional<std::wstring> text;
    std::optional<std::vector<uint8_t>> picture;
    int writes = 0;
    bool secret = false;  // marked by its program as not to be shown
    std::optional<std::wstring> Text() override { return text; }
    bool Private() override { return secret; }
    bool SetText(std::wstring_view t) override {
        text = std::wstring(t);
        picture.reset();
        ++writes;
        return true;
    }
    bool AddText(std::wstring_view t) override {
        text = std::wstring(t);
        ++writes;
        return true;
    }
    bool Clear() override {
        text.reset();
        picture.reset();
        ++writes;
        return true;
    }
    std::optional<std::vector<uint8_t>> Dib() override { return picture; }
    bool SetDib(const std::vector<uint8_t>& d) override {
        text.reset();
        picture = d;
        ++writes;
        return true;
    }
};

class HeldKeys final : public KeyState {
  public:
    std::set<int> down;
    bool IsDown(int key) const override { return down.count(key) > 0; }
};

class FixedClock final : public RegionalClock {
  public:
    std::wstring date = L"07/12/2026", time = L"13:05:09";
    std::vector<int> waits;
    std::wstring ShortDate() override { return date; }
    std::wstring TimeWithSeconds() override { return time; }
    void Wait(int ms) override { waits.push_back(ms); }
};

class RecordingShell final : public Shell {
  public:
    struct Call {
        std::wstring operation, file, parameters, directory;
        int show;
    };
    std::vector<Call> calls;
    // Each call's file when it plainly opens it in a normal window, else the whole call.
    std::vector<std::wstring> Opened() const {
        std::vector<std::wstring> files;
        for (const Call& c : calls)
            files.push_back(c.operation == L"open" && c.parameters.empty() && c.directory.empty() &&
                                    c.show == 10
                                ? c.file
                                : c.operation + L"|" + c.file + L"|" + c.parameters + L"|" +
                                      c.directory + L"|" + std::to_wstring(c.show));
        return files;
    }
    void ShellExec(std::wstring_view op, std::wstring_view file, std::wstring_view params,
                   std::wstring_view dir, int show) override {
        calls.push_back(
            {std::wstring(op), std::wstring(file), std::wstring(params), std::wstring(dir), show});
    }
};

class FakeResolver final : public HostResolver {
  public:
    std::optional<std::string> name = std::string("quillet-host");
    std::map<std::string, std::vector<std::vector<uint8_t>>> hosts;
    std::vector<std::string> asked;
    std::optional<std::string> HostName() override { return name; }
    std::optional<std::vector<std::vector<uint8_t>>> AddressesOf(const std::string& n) override {
        asked.push_back(n);
        auto it = hosts.find(n);
        if (it == hosts.end()) return std::nullopt;
        return it->second;
    }
};

// Answers of the input box, in order; nothing once they run out (Cancel).
class ScriptedInput final : public InputBox {
  public:
    std::deque<std::optional<std::wstring>> answers;
    std::vector<std::wstring> asked;
    std::optional<std::wstring> Ask(std::wstring_view title, std::wstring_view prompt) override {
        asked.push_back(std::wstring(title) + L" | " + std::wstring(prompt));
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class ScriptedPrompt final : public Prompt {
  public:
    std::deque<bool> answers;  // what the user answers, in order; then No
    struct Shown {
        std::wstring title, text;
        Icon icon;
    };
    std::vector<Shown> questions, messages;
    struct Confirmation {
        std::wstring title, text;
        Buttons buttons;
    };
    std::vector<Confirmation> confirmations;
    std::vector<std::wstring> retries;  // the texts of the Retry/Cancel boxes
    std::function<void()> beforeRetry;  // what the user does before answering

    bool AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) override {
        questions.push_back({std::wstring(title), std::wstring(text), icon});
        return Answer();
    }
    bool Confirm(std::wstring_view title, std::wstring_view text, Buttons buttons) override {
        confirmations.push_back({std::wstring(title), std::wstring(text), buttons});
        return Answer();
    }
    void Tell(std::wstring_view title, std::wstring_view text, Icon icon) override {
        messages.push_back({std::wstring(title), std::wstring(text), icon});
    }
    bool AskRetry(std::wstring_view, std::wstring_view text) override {
        retries.emplace_back(text);
        if (beforeRetry) beforeRetry();
        return Answer();
    }

  private:
    bool Answer() {
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace quillet::testing
