// What each window the main window owns asks of the program.
#pragma once

namespace quillet {

class OwnedWindowContext {
  public:
    virtual ~OwnedWindowContext() = default;
    virtual void BeepIfSounds() = 0;
    // Whether the main window stays on top: its owned windows must too.
    virtual bool StaysOnTop() const = 0;
};

}  // namespace quillet
