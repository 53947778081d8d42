// The system clipboard as Unicode text, and the user's locale case mapping.
#pragma once

#include <windows.h>

#include "base/handles_win.h"
#include "clipboard.h"

namespace quillet {

class SystemClipboard final : public Clipboard {
  public:
    explicit SystemClipboard(HWND owner) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    std::optional<std::wstring> Text() override;
    bool Private() override;
    bool SetText(std::wstring_view text) override;
    bool AddText(std::wstring_view text) override;
    bool Clear() override;
    std::optional<std::vector<uint8_t>> Dib() override;
    bool SetDib(const std::vector<uint8_t>& dib) override;

  private:
    bool Put(UINT format, UniqueGlobal block);

    HWND owner_;
};

class LocaleCases final : public CaseMapping {
  public:
    std::wstring Lower(std::wstring_view text) const override;
    std::wstring Upper(std::wstring_view text) const override;
};

}  // namespace quillet
