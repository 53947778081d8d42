// The help and About windows as the main window's logic asks for them.
#pragma once

#include <windows.h>

#include "help/frmAbout_win.h"
#include "help/frmHelp_win.h"
#include "help/info_windows.h"

namespace quillet {

class HelpAndAboutWindows final : public InfoWindows {
  public:
    HelpAndAboutWindows(HINSTANCE instance, InfoContext& main, Shell& shell)
        : help_(instance, main, shell), about_(instance, main, shell) {}

    void ShowHelp() override { help_.Show(); }
    void ShowAbout() override { about_.Show(); }
    void CloseAll() override {
        help_.Close();
        about_.Close();
    }

    frmHelp& Help() { return help_; }
    frmAbout& About() { return about_; }

  private:
    frmHelp help_;
    frmAbout about_;
};

}  // namespace quillet
