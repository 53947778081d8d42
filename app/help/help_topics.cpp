// The help topics' texts, the version line, the windows' mail addresses and
// the link colours.
#include "help/help_topics.h"

#include <vector>

#include "store/Module1.h"
#include "util/shell_launch.h"

namespace quillet {

namespace {

struct Topic {
    std::wstring_view button;
    std::wstring_view title;
    // Paragraphs; the items of a list are lines of one paragraph.
    std::vector<std::wstring_view> paragraphs;
};

const Topic kTopics[kHelpTopicCount] = {
    {L"General",
     L"General",
     {L"Quillet Pro keeps the texts you use again and again. Its window shows one store of ten "
      L"slots; each slot has a title, a Paste button, a text box and a Copy button.",
      L"To fill a slot, type or paste text into its text box, or click its Paste button: the "
      L"slot's text is replaced by what is on the clipboard. Give each slot a title, so that you "
      L"can see at a glance what it holds.",
      L"To use a slot, click its Copy button: its text goes onto the clipboard, and Ctrl+V "
      L"pastes it wherever you want it. Or drag the Copy button onto a document or a form and "
      L"drop the text there.",
      L"Some uses:\r\n"
      L"- entries you type into web forms again and again\r\n"
      L"- reminders and notes\r\n"
      L"- phone numbers, addresses and account numbers",
      L"Internet addresses dragged from a web page, and files dragged from Windows Explorer, can "
      L"be dropped onto a text box; a file gives its full path.",
      L"Enjoy..."}},
    {L"Stores",
     L"Stores",
     {L"Quillet Pro has 15 text stores of ten slots each, and the Pictures store P.",
      L"Change stores by clicking a store number in the row at the top of the window, or from "
      L"the Stores menu. The current store's number is shown in red, underlined, and it is "
      L"ticked in the Stores menu. Point at a store number to see the store's name.",
      L"Give a store a name of your choice with Rename Store... in the Stores menu: the name "
      L"shows in the Stores menu, in the tray menu and as the tip of the store's number.",
      L"Quillet Pro opens again in the store you used last.",
      L"To find a text in any store, choose Find... in the Edit menu or press Ctrl+F, or choose "
      L"Find... in the tray menu, and type a few letters: every line that holds them, in the "
      L"titles and texts of all 15 stores, shows as you type, with its store, slot and title. "
      L"Capitals and small letters count alike. Press Enter or double-click a line to go there: "
      L"Quillet Pro changes to that store and selects the text in its slot. In the list, type a "
      L"store's number to go to its first line.",
      L"When you change stores or close the window after changing a store, Quillet Pro asks "
      L"whether to save the changes, unless Auto-Save is ticked in the Options menu. File > Save "
      L"saves the store at once; File > Revert to Last Saved brings back what was saved. If the "
      L"settings file cannot be written, Quillet Pro tells you why and keeps your changes in the "
      L"window."}},
    {L"Tips",
     L"Tips",
     {L"- Right-click a text box or a title for the usual editing menu; right-click a picture "
      L"for the picture menu.\r\n"
      L"- Hold Shift while you drag the Copy button of a slot that holds an internet address: "
      L"you drop an Internet shortcut, onto the desktop for example.\r\n"
      L"- Drag the side of the window to make it wider or narrower; its height stays fixed. "
      L"Double-click a blank part of the window to switch between the default width and your "
      L"own; drag a blank part to move the window.\r\n"
      L"- Hold Ctrl while you click Copy to open the slot's internet address, file or program. "
      L"Hold A while you click Copy to open every slot of the store, one after the other.\r\n"
      L"- Hold a letter while you click Paste: T puts in the time, D the date, N the time and "
      L"date, C clears the slot and I puts in this computer's IP addresses.\r\n"
      L"- Drag hyperlinks from web pages straight onto a text box.\r\n"
      L"- The two boxes at the bottom show how many characters are on the clipboard and what "
      L"they are; click the window to bring them up to date.\r\n"
      L"- File > Get IP Address puts this computer's IP addresses on the clipboard.",
      L"To keep a picture of the screen, press Print Screen, choose the Pictures store P and "
      L"click a Paste button: the picture is saved in that slot."}},
    {L"Pro",
     L"Pro",
     {L"What Quillet Pro offers beyond Quillet Standard:\r\n"
      L"- 15 stores instead of 10\r\n"
      L"- line breaks inside the slots' texts\r\n"
      L"- texts of any length in every slot, instead of 255 characters\r\n"
      L"- any characters in the texts: accented letters, Greek, Cyrillic, Chinese, emoji\r\n"
      L"- the Pictures store\r\n"
      L"- hotkeys\r\n"
      L"- printing the current store\r\n"
      L"- changing the case of the text on the clipboard",
      L"Quillet Pro can run beside Quillet Standard, each with its own data. The first time it "
      L"starts it offers once to copy the Standard edition's ten stores and their names."}},
    {L"Pictures",
     L"Pictures",
     {L"The Pictures store P holds ten pictures. Copy a picture in any program, or from a "
      L"document or a web page, then click a Paste button: the picture shows as a thumbnail and "
      L"is saved at once.",
      L"Right-click a thumbnail for its menu: Copy, Paste, Clear, Undo, Preview and Set as "
      L"Wallpaper. Move a picture to another slot by dragging its thumbnail there.",
      L"Drop .JPG, .BMP or .WMF files onto a thumbnail to take them in. Double-click a thumbnail, "
      L"or click its number, to see the whole picture; double-click the preview to close it. A "
      L"picture larger than the screen can be dragged about in the preview.",
      L"Thumbnails are scaled to fit. Drag a thumbnail or its Copy button out onto the desktop or "
      L"a folder to save it as a .BMP file, or into another program to put it there. The Copy "
      L"button gives the better quality."}},
    {L"Settings",
     L"Settings",
     {L"The Options menu:\r\n"
      L"- Auto Run: Quillet Pro starts with Windows, for every user where you have the rights "
      L"to that, otherwise for you.\r\n"
      L"- Start in Tray: Quillet Pro starts hidden, with only its tray icon showing.\r\n"
      L"- Hotkeys: the Ctrl+Alt keys of the HotKeys topic.\r\n"
      L"- Paste into the Active Window: a slot you copy with its hotkey or from the tray menu "
      L"is pasted straight into the program you were working in, as if you had pressed Ctrl+V "
      L"there.\r\n"
      L"- Mirror: the Copy buttons on the left and the titles on the right, handy when the "
      L"window sits at the right edge of the screen.\r\n"
      L"- Stay on Top: the window stays above all other windows.\r\n"
      L"- Auto-Save: changes are saved without asking when you change stores or close the "
      L"window.\r\n"
      L"- Sounds: a short sound confirms copying, pasting and the other commands.",
      L"Your stores and settings are kept in the file quilbdx.ini: in the root of the drive "
      L"Quillet Pro runs from, or in its program folder, or, where Windows lets you create no "
      L"files there, in the Quillet Pro folder of your Application Data.",
      L"The file stays in the Windows character set as long as every text fits it. Once a text "
      L"holds letters the character set lacks, such as Polish, Greek or Chinese ones or an "
      L"emoji, the whole file is kept in Unicode from then on, and every character is kept."}},
    {L"Tray",
     L"Tray",
     {L"While Quillet Pro runs, its icon sits in the notification area of the taskbar, also "
      L"when its window is closed. Click the icon to bring the window back.",
      L"Right-click the icon for its menu:\r\n"
      L"- the store names at the top, with a tick at the current store: choose one to change "
      L"stores\r\n"
      L"- the texts of the current store's slots, a long one shortened with dots in the middle: "
      L"choose one to copy it to the clipboard\r\n"
      L"- a blank line is an empty slot: choosing it pastes the clipboard into that slot\r\n"
      L"- a grey line showing what is on the clipboard\r\n"
      L"- Cancel Menu, Find..., Help, Open Quillet Pro, Close and Exit at the bottom",
      L"Close hides the window and leaves the icon; Exit ends Quillet Pro.",
      L"When Windows Explorer restarts, the icon comes back by itself."}},
    {L"Hotkeys",
     L"HotKeys",
     {L"Ctrl+Alt+F1 ... Ctrl+Alt+F10 copy text box 1 ... 10 of the current store to the "
      L"clipboard, from whatever program you are in. Paste the text into your document with "
      L"Ctrl+V as usual, or tick Paste into the Active Window in the Options menu and Quillet "
      L"Pro pastes it for you as soon as you let go of Ctrl and Alt.",
      L"Ctrl+Alt+1 ... Ctrl+Alt+9 and Ctrl+Alt+0 paste the clipboard into text box 1 ... 10. Copy "
      L"the text in the other program first (Ctrl+C), then press the hotkey.",
      L"Switch the hotkeys on or off with Hotkeys in the Options menu; the change takes effect "
      L"the next time Quillet Pro starts.",
      L"On keyboards where Ctrl+Alt with a digit (AltGr) types a character, such as { [ ] } on "
      L"a German keyboard, Quillet Pro leaves that combination to the keyboard, so that you can "
      L"still type the character; that slot has no paste hotkey then. A combination that another "
      L"program uses already is left to it too.",
      L"HotKeys don't work when in the Picture Store P"}},
    {L"Case",
     L"Changing Case",
     {L"Three commands of the File menu change the text on the clipboard:",
      L"Clipboard contents to Opposite case: every letter A-Z becomes a-z and every a-z becomes "
      L"A-Z, so that bRINDLE sOFTWARE becomes Brindle Software. Useful when Caps Lock was left "
      L"on while you typed. Accented letters stay as they are.",
      L"Clipboard contents to Lower case: every letter becomes a small letter.",
      L"Clipboard contents to Upper case: every letter becomes a capital.",
      L"Then paste the text back with Ctrl+V."}},
    {L"Uninstall",
     L"Uninstalling Quillet Pro",
     {L"Untick Auto Run and Start in Tray in the Options menu, then end Quillet Pro with File > "
      L"Exit (or Exit in the tray menu).",
      L"Then run the uninstall utility from Quillet Pro's group in the Start menu. If you copied "
      L"Quillet Pro into its folder yourself, delete that folder instead.",
      L"Your texts stay in quilbdx.ini and your pictures in C:\\ClipPics; delete them too if you "
      L"no longer want them.",
      L"Quillet Standard and its data are not affected."}},
};

bool IsTopic(int topic) {
    return topic >= 1 && topic <= kHelpTopicCount;
}

}  // namespace

std::wstring_view HelpButtonCaption(int topic) {
    return IsTopic(topic) ? kTopics[topic - 1].button : std::wstring_view();
}

std::wstring HelpTopicText(int topic) {
    if (!IsTopic(topic)) return {};
    const Topic& t = kTopics[topic - 1];
    std::wstring text(t.title);
    for (std::wstring_view paragraph : t.paragraphs) {
        text += L"\r\n\r\n";
        text += paragraph;
    }
    return text;
}

std::wstring VersionText(ProgramVersion version) {
    return L"Version  " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) +
           L"." + std::to_wstring(version.revision);
}

std::wstring VersionSubject(ProgramVersion version) {
    return std::wstring(kProgramTitle) + L" - " + VersionText(version);
}

std::wstring HelpMailAddress(ProgramVersion version) {
    return MailAddress(kHelpMail, VersionSubject(version));
}

std::wstring AboutMailAddress(ProgramVersion version) {
    return MailAddress(kFeedbackMail, VersionSubject(version));
}

LinkColours LinkHover::Colours() const {
    return {hovered_ == Link::kMail ? kLinkRed : kLinkBlue,
            hovered_ == Link::kWeb ? kLinkRed : kLinkBlue};
}

}  // namespace quillet
