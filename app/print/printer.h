// What printing the store needs of the printer and of the print window.
#pragma once

#include <string>

#include "owned_window.h"
#include "store/filesystem.h"

namespace quillet {

// What the print window asks of the program besides the main window.
class PrintContext : public OwnedWindowContext {
  public:
    virtual std::wstring CurrentStoreCaption() const = 0;
    virtual std::wstring ProgramFolder() const = 0;
};

class Printer {
  public:
    virtual ~Printer() = default;
    // The main window's image on the default printer, with its default
    // settings; the reason when it could not be printed.
    virtual IoResult PrintWindowImage() = 0;
    // The print window, and closing it with the other windows.
    virtual void ShowPrintWindow() = 0;
    virtual void Close() = 0;
};

}  // namespace quillet
