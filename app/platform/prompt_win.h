// Questions and messages of the program as message boxes over a window.
#pragma once

#include <windows.h>

#include "main_view.h"

namespace quillet {

class MessageBoxPrompt final : public Prompt {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }

    bool AskYesNo(std::wstring_view title, std::wstring_view text, Icon icon) override;
    bool Confirm(std::wstring_view title, std::wstring_view text, Buttons buttons) override;
    void Tell(std::wstring_view title, std::wstring_view text, Icon icon) override;
    bool AskRetry(std::wstring_view title, std::wstring_view text) override;

  private:
    int Show(std::wstring_view title, std::wstring_view text, UINT type) const;
    HWND owner_ = nullptr;
};

}  // namespace quillet
