// Texts folded for a search that ignores case the way the user's language
// does, with the way back from a place in the folded text to the original.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "clipboard.h"

namespace quillet {

// A range of units of a text, end not included.
struct TextRange {
    size_t begin = 0, end = 0;
    size_t size() const { return end - begin; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// The number of units of the character that starts at `at`: two for a
// surrogate pair where wchar_t holds UTF-16, else one.
size_t CharacterLength(std::wstring_view text, size_t at);
// `at` moved back to the start of the character it lies in.
size_t CharacterStart(std::wstring_view text, size_t at);

class FoldedText {
  public:
    FoldedText() = default;
    const std::wstring& Text() const { return text_; }
    // The units of the original that the folded `range` came from, whole
    // characters, never past the original's end.
    TextRange Original(TextRange range, std::wstring_view original) const;

  private:
    friend class CaseFolder;
    std::wstring text_;
    // Where in the original the character of each folded unit starts; empty
    // while every character folds to as many units as it had, so that the
    // places agree.
    std::vector<uint32_t> origins_;
};

// Folds character by character: the lower case of the upper case, so that
// letters with more than one small form (the Greek final sigma) meet. A
// character is asked of the case mapping once and then remembered, so that
// megabytes fold in one pass without a system call per character.
class CaseFolder {
  public:
    explicit CaseFolder(const CaseMapping& cases);

    FoldedText Fold(std::wstring_view text);
    std::wstring FoldQuery(std::wstring_view text) { return Fold(text).Text(); }

  private:
    // The fold of one character of `units` (one or two units).
    std::wstring_view FoldOf(std::wstring_view units);
    std::wstring Ask(std::wstring_view units) const;

    const CaseMapping& cases_;
    // Characters of one unit that fold to one unit: the unit plus one, 0 for
    // not asked yet, kElsewhere for a fold kept in others_.
    std::vector<uint32_t> single_;
    std::unordered_map<std::wstring, std::wstring> others_;
    std::wstring scratch_;
};

}  // namespace quillet
