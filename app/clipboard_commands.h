// The clipboard line of the main window and the commands that act on the
// clipboard itself rather than on a slot.
#pragma once

#include <string>
#include <string_view>

#include "clipboard.h"
#include "main_view.h"
#include "options.h"
#include "util/ModuleIP.h"

namespace quillet {

class ClipboardCommands {
  public:
    ClipboardCommands(MainView& view, Clipboard& clipboard, const CaseMapping& cases,
                      ProgramOptions& options)
        : view_(view), clipboard_(clipboard), cases_(cases), options_(options) {}

    // The display line; a private text (a password) shows only its length.
    void Show();
    void ShowPicture();
    // The clipboard's text for the tray, bullets for a private one.
    std::wstring Caption();

    void Lower();
    void Upper();
    void OppositeCase();
    void Empty();
    // The computer's addresses beside what the clipboard holds.
    void AddAddresses(HostResolver& resolver, Prompt& prompt);

  private:
    template <typename Change> void Rewrite(Change change);

    MainView& view_;
    Clipboard& clipboard_;
    const CaseMapping& cases_;
    ProgramOptions& options_;
};

}  // namespace quillet
