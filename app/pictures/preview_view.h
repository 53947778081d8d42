// What the picture commands need of the preview window.
#pragma once

#include <string>

namespace quillet {

class PreviewView {
  public:
    virtual ~PreviewView() = default;
    // Shows the picture file at full size in the one preview window.
    virtual void ShowPicture(const std::wstring& path) = 0;
    virtual void Close() = 0;
};

}  // namespace quillet
