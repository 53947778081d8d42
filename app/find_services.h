// What the Find window asks of the main window, answered from its logic, its
// view and its settings file.
#pragma once

#include "find/find_form.h"
#include "main_form.h"

namespace quillet {

class MainFindServices final : public FindServices {
  public:
    MainFindServices(MainForm& form, MainView& view, FileSystem& fs, const TextCodec& codec)
        : form_(form), view_(view), settings_(fs, codec) {}

    StoredTexts StoredStores() override;
    std::optional<StoreTexts> ShownTexts() const override;
    const std::wstring& StoreCaption(int store) const override { return form_.StoreCaption(store); }
    bool GoToStore(int store) override;
    void SelectInBox(BoxRef box, TextRange range) override {
        view_.Rows().Select(box, range.begin, range.size());
    }

  private:
    MainForm& form_;
    MainView& view_;
    Settings settings_;
};

}  // namespace quillet
