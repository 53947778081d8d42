// The codec of the Windows system the program runs on: its 8-bit code page.
#include "store/encoding.h"

#include "base/strings_win.h"

namespace quillet {

namespace {

// The settings file holds the system's 8-bit code page, whatever it is.
class AnsiCodec final : public TextCodec {
  public:
    std::string ToBytes(std::wstring_view text) const override { return Narrow(text, CP_ACP); }
    std::wstring FromBytes(std::string_view bytes) const override { return Widen(bytes, CP_ACP); }
    bool Represents(std::wstring_view text) const override {
        return quillet::Represents(text, CP_ACP);
    }
};

}  // namespace

const TextCodec& SystemCodec() {
    static const AnsiCodec codec;
    return codec;
}

}  // namespace quillet
