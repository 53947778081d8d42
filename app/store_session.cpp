// Loading, saving, the change check and the switch of the current store.
#include "store_session.h"

#include "pictures/picture_files.h"
#include "resource.h"
#include "store/encoding.h"

namespace quillet {

namespace {

constexpr int kTextEditingItems[] = {IDM_PASTE,       IDM_CUT,           IDM_COPY,
                                     IDM_CLEARLABELS, IDM_CLEARCONTENTS, IDM_CLEARSTORE,
                                     IDM_SELECTALL};

constexpr std::wstring_view kSaveQuestion =
    L"Some contents of this Store have changed....\r\n\r\n"
    L"Do you want to save your changes ?\r\n\r\n"
    L"Hint:\r\n"
    L"You can stop these messages by selecting 'Autosave' from the Options menu.";

constexpr std::wstring_view kRetryHint =
    L"\r\n\r\nAnother program may be using it. Close that program and choose Retry, or "
    L"choose Cancel to end Quillet Pro without changing anything.";
constexpr std::wstring_view kKeptHint =
    L"\r\n\r\nThe store shown stays as it is, and nothing was saved.";

}  // namespace

// A file that exists but cannot be read (another program holds it) would
// show empty stores, which a later save would write over the user's texts.
// A folder in its place is no file: the first write finds another place.
std::optional<SettingsSnapshot> StoreSession::ReadAtStart() {
    for (;;) {
        SettingsSnapshot stored = settings_.Snapshot(path_);
        if (stored.Readable() || !fs_.FileExists(path_)) return stored;
        if (!prompt_.AskRetry(kProgramTitle,
                              UnreadableText(stored.Failure()) + std::wstring(kRetryHint)))
            return std::nullopt;
    }
}

std::optional<SettingsSnapshot> StoreSession::Read() {
    SettingsSnapshot stored = settings_.Snapshot(path_);
    if (stored.Readable()) return stored;
    prompt_.Tell(kProgramTitle, UnreadableText(stored.Failure()) + std::wstring(kKeptHint),
                 Prompt::Icon::kExclamation);
    return std::nullopt;
}

std::wstring StoreSession::UnreadableText(const std::wstring& reason) const {
    return L"The settings file\r\n" + path_ + L"\r\ncannot be read:\r\n" + reason;
}

// One read of the file serves both unless the check saved.
bool StoreSession::CheckAndSwitch(int store) {
    if (store < 0 || store >= kStoreCount) return false;
    std::optional<SettingsSnapshot> stored = Read();
    if (!stored) return false;
    const ChangeCheck check = Check(&*stored);
    return Switch(static_cast<int16_t>(store), check.wrote ? nullptr : &*stored);
}

bool StoreSession::Load(const SettingsSnapshot* stored) {
    std::optional<SettingsSnapshot> read;
    if (!stored) {
        if (!(read = Read())) return false;
        stored = &*read;
    }
    if (current_ == kPicturesStore) {
        LoadPictures(*stored);
        return true;
    }
    const std::vector<std::wstring> values = stored->ReadMany(StoreSection(current_), StoreKeys());
    for (int i = 0; i < kSlotCount; ++i) {
        view_.Rows().SetText(i, values[2 * i]);
        view_.Rows().SetTitle(i, values[2 * i + 1]);
    }
    return true;
}

void StoreSession::LoadPictures(const SettingsSnapshot& stored) {
    view_.Progress().ShowProgress(kProgramTitle, L"Loading Thumbnails...");
    std::vector<std::string> keys;
    for (int i = 0; i < kSlotCount; ++i) keys.push_back(TitleKey(i));
    const std::vector<std::wstring> titles = stored.ReadMany(StoreSection(kPicturesStore), keys);
    for (int i = 0; i < kSlotCount; ++i) {
        view_.Progress().ShowProgressBlock(i + 1);
        const std::wstring path = SlotPicturePath(i);
        pictures_.LoadSlotPicture(i, path);
        events_.PictureLoaded(i, path);
        pictures_.FitSlotPicture(i);
        view_.Rows().SetTitle(i, titles[i].empty() ? std::to_wstring(i + 1) : titles[i]);
    }
    view_.Progress().CloseProgress();
    view_.Repaint();
}

IoResult StoreSession::WriteStore() {
    std::vector<Settings::Value> values;
    const std::string section = StoreSection(current_);
    // The Pictures store keeps only its titles: its text keys would hold
    // whatever the hidden text boxes show, which nothing reads.
    const bool pictures = current_ == kPicturesStore;
    for (int i = 0; i < kSlotCount; ++i) {
        if (!pictures) values.push_back({section, TextKey(i), view_.Rows().Text(i)});
        values.push_back({section, TitleWriteKey(i), view_.Rows().Title(i)});
    }
    return settings_.WriteSettings(path_, values);
}

std::wstring StoreSession::FailureText(const ChangeCheck& check) const {
    if (!check.read)
        return UnreadableText(check.result.reason) + L"\r\n\r\nThe store was not saved.";
    return L"The store could not be saved to the settings file\r\n" + path_ + L"\r\n\r\n" +
           check.result.reason;
}

bool StoreSession::Save() {
    ChangeCheck save;
    save.wrote = true;
    save.result = WriteStore();
    if (!save.result) prompt_.Tell(kProgramTitle, FailureText(save), Prompt::Icon::kCritical);
    return save.result.ok;
}

ChangeCheck StoreSession::Check(const SettingsSnapshot* stored) {
    const ChangeCheck check = RunCheck(stored);
    if (!check.result)
        prompt_.Tell(kProgramTitle, FailureText(check),
                     check.read ? Prompt::Icon::kCritical : Prompt::Icon::kExclamation);
    return check;
}

ChangeCheck StoreSession::RunCheck(const SettingsSnapshot* stored) {
    ChangeCheck check;
    if (current_ == kPicturesStore) {
        check.wrote = true;
        check.result = WriteStore();
        return check;
    }
    std::optional<SettingsSnapshot> read;
    if (!stored) stored = &read.emplace(settings_.Snapshot(path_));
    // An unread file says nothing about the store: asking or saving on the
    // strength of it could write empty slots over the user's texts.
    if (!stored->Readable()) {
        check.read = false;
        check.result = IoResult::Failure(stored->Failure());
        return check;
    }
    const std::vector<std::wstring> values = stored->ReadMany(StoreSection(current_), StoreKeys());
    // A lone line break, as a paste may bring, is stored as a pair: the text
    // saved is no change.
    bool changed = false;
    for (int i = 0; i < kSlotCount; ++i) {
        if (WithPairedLineBreaks(view_.Rows().Text(i)) != values[2 * i]) changed = true;
        if (WithPairedLineBreaks(view_.Rows().Title(i)) != values[2 * i + 1]) changed = true;
    }
    if (changed && (events_.AutoSave() ||
                    prompt_.AskYesNo(L"Save Changes ?", kSaveQuestion, Prompt::Icon::kQuestion))) {
        check.wrote = true;
        check.result = WriteStore();
    }
    return check;
}

bool StoreSession::Switch(int16_t store, const SettingsSnapshot* stored) {
    if (store < 0 || store >= kStoreCount) return false;
    // Nothing changes on the screen or in the file unless the store can be read.
    std::optional<SettingsSnapshot> read;
    if (!stored) {
        if (!(read = Read())) return false;
        stored = &*read;
    }
    for (int n = 0; n < kStoreCount; ++n) view_.SetChecked(IDM_STORE0 + n, false);
    view_.SetChecked(IDM_STORE0 + store, true);
    const std::wstring number = std::to_wstring(store);
    if (stored->Read(kSettingsSection, "StoreNumber", L"") != number)
        numberStored_ = Write("StoreNumber", number) || numberStored_;
    current_ = store;
    events_.StoreLeaving();
    Load(stored);
    view_.ShowPictures(store == kPicturesStore);
    view_.Repaint();
    for (int n = 0; n < kStoreCount; ++n) view_.MarkStoreLabel(n, false);
    view_.MarkStoreLabel(store, true);
    for (int item : kTextEditingItems) view_.SetEnabled(item, store != kPicturesStore);
    view_.FocusPaste(1);
    events_.StoreShown();
    return true;
}

void StoreSession::Start(int16_t store, bool numberStored, const SettingsSnapshot& stored) {
    numberStored_ = numberStored;
    Switch(store, &stored);
}

}  // namespace quillet
