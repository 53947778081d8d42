// The store shown in the window and the settings file behind it: loading,
// saving, the change check and the switch. A file that cannot be read never
// counts as empty stores, so nothing is shown, asked or saved on its strength.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "main_view.h"
#include "pictures/picture_slots_view.h"
#include "store/Module1.h"

namespace quillet {

// What a change check did. A file that could not be read is neither compared
// nor saved to: nothing is known about the store's changes.
struct ChangeCheck {
    bool read = true;    // the file could be read
    bool wrote = false;  // a save ran
    IoResult result;     // why the read or the save failed
};

// What the window's other parts do around a switch.
class StoreEvents {
  public:
    virtual ~StoreEvents() = default;
    virtual bool AutoSave() const = 0;
    // Before another store (or the same one again) is loaded.
    virtual void StoreLeaving() = 0;
    virtual void PictureLoaded(int slot, const std::wstring& path) = 0;
    // After the store shows, for the layout.
    virtual void StoreShown() = 0;
};

class StoreSession {
  public:
    StoreSession(MainView& view, PictureSlotsView& pictures, Prompt& prompt, FileSystem& fs,
                 const TextCodec& codec, StoreEvents& events)
        : view_(view),
          pictures_(pictures),
          prompt_(prompt),
          settings_(fs, codec),
          fs_(fs),
          events_(events) {}

    // The settings file, and its "Settings" values.
    void UseFile(std::wstring path) { path_ = std::move(path); }
    const std::wstring& Path() const { return path_; }
    Settings& File() { return settings_; }
    const Settings& File() const { return settings_; }
    IoResult Write(std::string_view key, std::wstring_view value) {
        return settings_.WriteSetting(path_, kSettingsSection, key, value);
    }

    // The file as start-up reads it: one that exists but cannot be read is
    // asked about until it can be read, or nothing when the user gives up.
    std::optional<SettingsSnapshot> ReadAtStart();
    // The file for a store routine, or nothing once the user has been told
    // that it cannot be read.
    std::optional<SettingsSnapshot> Read();

    int16_t Current() const { return current_; }
    bool PicturesShown() const { return current_ == kPicturesStore; }
    // Whether the file holds a current store number.
    bool NumberStored() const { return numberStored_; }

    // `stored`, where given, is what the file held a moment ago, which spares
    // reading it again. The user is told of every failure.
    bool Load(const SettingsSnapshot* stored = nullptr);
    bool Save();  // false when the file could not be written
    ChangeCheck Check(const SettingsSnapshot* stored = nullptr);
    // The same with a failure handed back, not told.
    ChangeCheck RunCheck(const SettingsSnapshot* stored);
    bool Switch(int16_t store, const SettingsSnapshot* stored = nullptr);
    // The change check, then the switch: a store label's click.
    bool CheckAndSwitch(int store);
    // The first switch of a start, from the file start-up read.
    void Start(int16_t store, bool numberStored, const SettingsSnapshot& stored);

    std::wstring FailureText(const ChangeCheck& check) const;
    std::wstring UnreadableText(const std::wstring& reason) const;

  private:
    IoResult WriteStore();
    void LoadPictures(const SettingsSnapshot& stored);

    MainView& view_;
    PictureSlotsView& pictures_;
    Prompt& prompt_;
    Settings settings_;
    FileSystem& fs_;
    StoreEvents& events_;
    std::wstring path_;
    int16_t current_ = 0;
    bool numberStored_ = false;
};

}  // namespace quillet
