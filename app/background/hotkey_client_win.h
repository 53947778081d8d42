// The program's one HotKey object of the Tarnkey component, its HotKeyPress
// events, and the keyboard layout the hotkeys must not take characters from.
#pragma once

#include <windows.h>

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Tarnkey_h.h"
#include "background/hotkeys.h"
#include "base/com_ptr_win.h"
#include "base/handles_win.h"

namespace quillet {

class HotkeyPressSink;

class HotkeyClient final : public HotkeyService {
  public:
    using PressHandler = std::function<void(int32_t id)>;
    enum class Source { Registry, LibraryFolder };

    // The object through the component registry, or else from Tarnkey.dll in
    // `libraryFolder` (the program's own folder by default), connected to
    // `onPress`; null when neither works. COM must be initialised on the
    // calling thread, and presses arrive on it while it dispatches messages.
    static std::unique_ptr<HotkeyClient> Create(PressHandler onPress) noexcept;
    static std::unique_ptr<HotkeyClient> Create(PressHandler onPress,
                                                const std::wstring& libraryFolder) noexcept;

    HotkeyClient(const HotkeyClient&) = delete;
    HotkeyClient& operator=(const HotkeyClient&) = delete;
    // Disconnects and lets go of the object, which frees every hotkey.
    ~HotkeyClient() override;

    int32_t SetHotKey(int keyCode, int modifiers) noexcept override;
    Source source() const { return source_; }

  private:
    HotkeyClient() = default;
    // Makes the object and connects the sink; the first failure is the answer.
    HRESULT Connect(PressHandler onPress, const std::wstring& libraryFolder);

    Source source_ = Source::Registry;
    // Declared first so that it is freed after the object made from it.
    UniqueModule library_;
    ComPtr<_HotKey> key_;
    ComPtr<IConnectionPoint> events_;
    DWORD cookie_ = 0;
    ComPtr<HotkeyPressSink> sink_;
};

// The layout the calling thread types with (or the one given).
class ActiveKeyboardLayout final : public KeyboardLayout {
  public:
    ActiveKeyboardLayout() : layout_(::GetKeyboardLayout(0)) {}
    explicit ActiveKeyboardLayout(HKL layout) : layout_(layout) {}
    bool CtrlAltTypesCharacter(int virtualKey) noexcept override;

  private:
    bool ToUnicodeTypes(UINT key);
    bool KeyScanTypes(UINT key);

    HKL layout_;
    bool scanned_ = false;
    std::bitset<256> altGrKeys_;
};

}  // namespace quillet
