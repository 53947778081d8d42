// A main window made of plain fields, and a prompt that answers from a script.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "main_view.h"
#include "store/Module1.h"

namespace quillet::testing {

class FakeView final : public MainView {
public:
    WindowGeometry geometry{1500, 500, 9500, 6500, WindowState::kNormal};
    int screenWidth = 19200, screenHeight = 14400;  // 1280 x 960 pixels
    std::wstring caption;
    bool visible = false;
    bool topMost = false;
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
    void ShowNormal() override { visible = true; }
    void Hide() override { visible = false; }
    bool IsVisible() const override { return visible; }
    void SetTopMost(bool onTop) override { topMost = onTop; }
    void Repaint() override {}
    void Layout(bool mirror, bool pictures) override {
        ++layouts;
        lastMirror = mirror;
        lastPictures = pictures;
    }
    void Beep() override { ++beeps; }
    std::wstring SlotText(int slot) const override { return text[slot]; }
    void SetSlotText(int slot, std::wstring_view t) override { text[slot] = t; }
    std::wstring SlotTitle(int slot) const override { return title[slot]; }
    void SetSlotTitle(int slot, std::wstring_view t) override { title[slot] = t; }
    void SetSlotColours(unsigned t, unsigned x) override {
        titleColour = t;
        textColour = x;
    }
    void FocusPaste(int slot) override { focusedPaste = slot; }
    std::wstring StoreCaption(int store) const override { return storeCaption[store]; }
    void SetStoreCaption(int store, std::wstring_view c) override { storeCaption[store] = c; }
    void SetStoreTooltip(int store, std::wstring_view t) override { tooltip[store] = t; }
    void MarkStoreLabel(int store, bool current) override { labelCurrent[store] = current; }
    void ShowPictures(bool shown) override { picturesShown = shown; }
    bool IsChecked(int item) const override {
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

class ScriptedPrompt final : public Prompt {
public:
    std::deque<bool> answers;  // what the user answers, in order
    struct Shown {
        std::wstring title, text;
        Icon icon;
    };
    std::vector<Shown> questions, messages;

    bool AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) override {
        questions.push_back({std::wstring(title), std::wstring(text), icon});
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void Tell(std::wstring_view title, std::wstring_view text, Icon icon) override {
        messages.push_back({std::wstring(title), std::wstring(text), icon});
    }
};

}  // namespace quillet::testing
