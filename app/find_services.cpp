// The main window's side of Find.
#include "find_services.h"

namespace quillet {

// One read of the file: what it holds now, other programs' changes included.
StoredTexts MainFindServices::StoredStores() {
    StoredTexts out;
    out.path = form_.SettingsPath();
    const SettingsSnapshot stored = settings_.Snapshot(out.path);
    if (!stored.Readable()) {
        out.readable = false;
        out.reason = stored.Failure();
        return out;
    }
    for (int n = 1; n < kStoreCount; ++n) {
        std::vector<std::wstring> values = stored.ReadMany(StoreSection(n), StoreKeys());
        StoreTexts store;
        store.store = n;
        for (int i = 0; i < kSlotCount; ++i) {
            store.slots[i].text = std::move(values[2 * i]);
            store.slots[i].title = std::move(values[2 * i + 1]);
        }
        out.stores.push_back(std::move(store));
    }
    return out;
}

std::optional<StoreTexts> MainFindServices::ShownTexts() const {
    if (form_.CurrentStore() == kPicturesStore) return std::nullopt;
    StoreTexts shown;
    shown.store = form_.CurrentStore();
    for (int i = 0; i < kSlotCount; ++i) {
        shown.slots[i].text = view_.Rows().Text(i);
        shown.slots[i].title = view_.Rows().Title(i);
    }
    return shown;
}

// The store shown is what was searched, edits and all: it stays, with no
// question. Another one comes as its label's click brings it, save question
// first. A window in the tray or on the taskbar comes back first.
bool MainFindServices::GoToStore(int store) {
    if (!view_.IsVisible() || view_.Geometry().state == WindowState::kMinimized)
        form_.traymnuOpen_Click();
    if (store != form_.CurrentStore()) form_.lblStore_Click(store);
    return form_.CurrentStore() == store;
}

}  // namespace quillet
