// Printing the store: the printout's content, the check boxes' rule, and the
// print run with its failure message.
#include "print/print_store.h"

#include <algorithm>


namespace quillet {

// Built in one buffer of the right size: ten full slots are 320,000
// characters, and temporaries of that size cost more than the rest.
std::wstring PrintoutText(const PrintoutSlots& slots,
                          const std::optional<std::wstring>& clipboard) {
    size_t size = 64 + (clipboard ? clipboard->size() : 0);
    for (size_t i = 0; i < slots.titles.size(); ++i)
        size += 32 + slots.titles[i].size() + slots.texts[i].size();
    std::wstring out;
    out.reserve(size);
    out += L"QUILLET PRO\r\n";
    for (size_t i = 0; i < slots.titles.size(); ++i) {
        const std::wstring n = std::to_wstring(i + 1);
        out.append(L"\r\n\r\nTitle ").append(n).append(L" = ").append(slots.titles[i]);
        out.append(L"\r\nText ").append(n).append(L" = ").append(slots.texts[i]);
    }
    if (clipboard) out.append(L"\r\n\r\n\r\nClipboard Contents = ").append(*clipboard);
    out += L"\r\n";
    return out;
}

namespace {

// Appends `text` as UTF-8. A lone surrogate (a text box can hold one) becomes
// U+FFFD: encoded as it stands it would make the file invalid UTF-8, which
// editors refuse or open in another encoding.
void AppendUtf8(std::string& out, std::wstring_view text) {
    // Written through a pointer into room made once: at most three bytes
    // for each UTF-16 unit (a pair's four for its two units).
    const size_t start = out.size();
    out.resize(start + 3 * text.size() + (sizeof(wchar_t) == 4 ? text.size() : 0));
    char* p = out.data() + start;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<size_t>(p - out.data()));
}

constexpr size_t kPieceSize = 32 * 1024;
constexpr size_t kSliceSize = 4096;  // characters converted between checks

// Gathers bytes into pieces of about kPieceSize for the sink.
class PieceBuffer {
  public:
    explicit PieceBuffer(const PrintoutSink& sink) : sink_(sink) { bytes_.reserve(kPieceSize + 4 * (kSliceSize + 1)); }
    void Add(std::string_view ascii) {
        bytes_.append(ascii);
        FlushIfFull();
    }
    void AddText(std::wstring_view text) {
        while (!text.empty()) {
            size_t n = std::min(text.size(), kSliceSize);
            // A surrogate pair stays whole.
            if (n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) ++n;
            AppendUtf8(bytes_, text.substr(0, n));
            text.remove_prefix(n);
            FlushIfFull();
        }
    }
    void Flush() {
        if (!bytes_.empty()) sink_(bytes_);
        bytes_.clear();
    }

  private:
    void FlushIfFull() {
        if (bytes_.size() >= kPieceSize) Flush();
    }
    const PrintoutSink& sink_;
    std::string bytes_;
};

}  // namespace

void EmitPrintout(const PrintoutSource& source, const PrintoutSink& sink) {
    PieceBuffer out(sink);
    out.Add("\xEF\xBB\xBFQUILLET PRO\r\n");
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i + 1);
        out.Add("\r\n\r\nTitle " + n + " = ");
        out.AddText(source.title(i));
        out.Add("\r\nText " + n + " = ");
        out.AddText(source.text(i));
    }
    if (source.clipboard) {
        out.Add("\r\n\r\n\r\nClipboard Contents = ");
        out.AddText(*source.clipboard);
    }
    out.Add("\r\n");
    out.Flush();
}

std::string PrintoutBytes(const PrintoutSlots& slots,
                          const std::optional<std::wstring>& clipboard) {
    std::string bytes;
    EmitPrintout({[&](int i) { return slots.titles[i]; }, [&](int i) { return slots.texts[i]; },
                  clipboard},
                 [&](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

std::wstring PrintCaption(std::wstring_view storeCaption) {
    return L"Printing  " + std::wstring(storeCaption);
}

void PrintChecks::chkText_Click() {
    const bool toText = whiteEnabled;
    clipboardEnabled = toText;
    whiteEnabled = !toText;
}

MainLook PrintLookOf(const MainLook& inUse, std::wstring_view storeCaption) {
    MainLook look = inUse;
    look.titleBackground = look.textBackground = kPrintWhite;
    look.windowWhite = true;
    look.buttonsShown = look.makerShown = false;
    look.clipboardLength = L"Printing";
    look.clipboardText = storeCaption;
    return look;
}

void PrintForm::Form_Load() {
    view_.SetCaption(PrintCaption(s_.storeCaption()));
    if (s_.mainOnTop()) view_.SetTopMost(true);
    checks_.clipboardEnabled = true;
    checks_.whiteEnabled = false;
    view_.ShowChecks(checks_);
}

void PrintForm::chkText_Click(bool ticked) {
    checks_.text = ticked;
    checks_.chkText_Click();
    view_.ShowChecks(checks_);
}

void PrintForm::cmdPrint_Click() {
    const IoResult result = checks_.text ? PrintTextOnly() : PrintScreen();
    if (!result) return Fail(result);
    view_.Close();
}

void PrintForm::Fail(const IoResult& result) {
    s_.prompt.Tell(kPrintErrorTitle, std::wstring(kPrintErrorText) + result.reason,
                   Prompt::Icon::kNone);
    view_.Close();
}

// The program's folder refuses a normal user's files under Program Files;
// the user's own folder then takes the printout.
IoResult PrintForm::PrintTextOnly() {
    std::optional<std::wstring> clipboard;
    if (checks_.clipboard) clipboard = s_.clipboardText();
    const PrintoutSource source{[this](int i) { return s_.main.Rows().Title(i); },
                                [this](int i) { return s_.main.Rows().Text(i); }, clipboard};
    const PrintoutProducer produce = [&](const PrintoutSink& sink) { EmitPrintout(source, sink); };

    std::filesystem::path path = s_.appFolder / kPrintoutName;
    IoResult written = Write(path, produce);
    if (!written && !s_.userFolder.empty()) {
        path = s_.userFolder / kPrintoutName;
        written = Write(path, produce);
    }
    if (!written) return written;
    printoutPath_ = path;
    s_.beepIfSounds();
    s_.shell.ShellExec(L"open", path.wstring(), L"", L"", kShowDefault);
    return IoResult::Success();
}

IoResult PrintForm::Write(const std::filesystem::path& path, const PrintoutProducer& produce) {
    if (s_.writeFile) return s_.writeFile(path, produce);
    std::string bytes;
    produce([&](std::string_view piece) { bytes.append(piece); });
    return s_.fs.ReplaceAtomically(path, bytes);
}

// The look in use before the print comes back whether or not the print
// worked, so the window never stays white.
IoResult PrintForm::PrintScreen() {
    const MainLook inUse = s_.look.CurrentLook();
    if (checks_.white) s_.look.ApplyLook(PrintLookOf(inUse, s_.storeCaption()));
    const IoResult printed = s_.printer.PrintWindowImage();
    MainLook after = inUse;
    after.clipboardLength.clear();
    after.clipboardText.clear();
    s_.look.ApplyLook(after);
    return printed;
}

}  // namespace quillet
