// The Find window's logic: what is looked for, the lines found in every text
// store, and going to one of them in the main window.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clipboard.h"
#include "find/case_fold.h"
#include "find/find_stores.h"
#include "main_view.h"

namespace quillet {

// What the Find window asks of the program.
class FindServices {
  public:
    virtual ~FindServices() = default;
    // The fifteen text stores as the settings file holds them now.
    virtual StoredTexts StoredStores() = 0;
    // The store shown, as its boxes hold it; nothing while the Pictures store
    // shows.
    virtual std::optional<StoreTexts> ShownTexts() const = 0;
    virtual const std::wstring& StoreCaption(int store) const = 0;
    // Brings the main window up showing `store`: another store as a click on
    // its label shows it, with the change check. True when it shows then.
    virtual bool GoToStore(int store) = 0;
    // The focus into a slot's box, `range` selected there.
    virtual void SelectInBox(BoxRef box, TextRange range) = 0;
};

class FindView {
  public:
    virtual ~FindView() = default;
    // The list holds `count` rows now, which it asks for by number. After a
    // refresh with the same query the row chosen may stay chosen.
    virtual void ShowResults(size_t count, bool newQuery) = 0;
    virtual void ShowStatus(std::wstring_view text) = 0;
};

// A row of the list as it shows.
struct FindRow {
    std::wstring store, slot, title, line;
    friend bool operator==(const FindRow&, const FindRow&) = default;
};

class FindForm {
  public:
    FindForm(FindView& view, FindServices& program, const CaseMapping& cases)
        : view_(view), program_(program), folder_(cases), finder_(folder_) {}

    // Reads the stores afresh and searches again: when the window opens or
    // comes back to the front. Typing only searches what was read.
    void Refresh();
    // txtFind_Change: what is looked for changed.
    void QueryChanged(std::wstring_view query);

    size_t ResultCount() const { return finder_.Hits().size(); }
    FindRow Row(size_t index) const;
    FindPlace PlaceOf(size_t index) const { return finder_.PlaceOf(finder_.Hits()[index]); }

    // Letters typed in the list: the first row from `from` on (round past
    // the end if `wrap`) whose store reads as `typed` begins.
    std::optional<size_t> RowOfStoreStartingWith(std::wstring_view typed, size_t from, bool wrap);

    // Enter or a double click on a row: the main window shows the row's store
    // and selects the match in its slot. False when the store did not show.
    bool OpenResult(size_t index);

  private:
    void Search(bool newQuery);
    std::wstring StatusText() const;
    // The Store column: the caption, with the store's number before it.
    std::wstring StoreCell(int store) const;
    // Where the match is in `text`, the box's text after the store showed:
    // at its old place if it is still there, else the next one after the
    // old line's start, else the first.
    std::optional<TextRange> Relocate(std::wstring_view text, const FindPlace& was);

    FindView& view_;
    FindServices& program_;
    CaseFolder folder_;
    StoreFinder finder_;
    std::wstring query_;
    bool readable_ = true;
    bool textStoreShown_ = false;
    std::wstring path_, reason_;
};

}  // namespace quillet
