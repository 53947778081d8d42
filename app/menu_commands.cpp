// The menu items whose commands take no arguments, and the command of each.
#include "main_form.h"
#include "resource.h"

namespace quillet {

namespace {

struct MenuCommand {
    int id;
    void (MainForm::*handler)();
};
constexpr MenuCommand kMenuCommands[] = {
    {IDM_FILESAVE, &MainForm::mnuFileSave_Click},
    {IDM_REVERT, &MainForm::mnuRevert_Click},
    {IDM_OPPOSITECASE, &MainForm::mnuOppositeCase_Click},
    {IDM_LOWERCASE, &MainForm::mnuLowerCase_Click},
    {IDM_UPPERCASE, &MainForm::mnuUpperCase_Click},
    {IDM_GETIP, &MainForm::mnuGetIP_Click},
    {IDM_PRINT, &MainForm::mnuPrint_Click},
    {IDM_CLOSE, &MainForm::mnuClose_Click},
    {IDM_CLEARLABELS, &MainForm::mnuClearLabels_Click},
    {IDM_CLEARCONTENTS, &MainForm::mnuClearContents_Click},
    {IDM_CLEARSTORE, &MainForm::mnuClearStore_Click},
    {IDM_CLEARALLSTORESXLABELS, &MainForm::mnuClearAllStoresXLabels_Click},
    {IDM_CLEARALL, &MainForm::mnuClearAll_Click},
    {IDM_EMPTYCLIPBOARD, &MainForm::mnuEmptyClipboard_Click},
    {IDM_CUT, &MainForm::mnuCut_Click},
    {IDM_COPY, &MainForm::mnuCopy_Click},
    {IDM_PASTE, &MainForm::mnuPaste_Click},
    {IDM_UNDO, &MainForm::mnuUndo_Click},
    {IDM_SELECTALL, &MainForm::mnuSelectAll_Click},
    {IDM_AUTOSAVE, &MainForm::submnuAutoSave_Click},
    {IDM_RENAME, &MainForm::submnuRename_Click},
    {IDM_AUTORUN, &MainForm::menuAutoRun_Click},
    {IDM_STARTTRAY, &MainForm::mnuStartTray_Click},
    {IDM_HOTKEYS, &MainForm::mnuHotkeys_Click},
    {IDM_STAYTOP, &MainForm::submnuStayTop_Click},
    {IDM_SOUNDS, &MainForm::mnuSounds_Click},
    {IDM_HELP, &MainForm::Help_Click},
    {IDM_ABOUT, &MainForm::About_Click},
    {IDM_TELL, &MainForm::mnuTell_Click},
    {IDM_HOME, &MainForm::submnuHome_Click},
    {IDM_FEEDBACK, &MainForm::submnuFeedback_Click},
    {IDM_POPCOPY, &MainForm::popCopy_Click},
    {IDM_POPPASTE, &MainForm::popPaste_Click},
    {IDM_POPDELETE, &MainForm::popDelete_Click},
    {IDM_POPUNDO, &MainForm::popUndo_Click},
    {IDM_POPPREVIEW, &MainForm::popPreview_Click},
    {IDM_POPWALLPAPER, &MainForm::popWallpaper_Click},
    {IDM_MIRROR, &MainForm::menuMirror_Click},
    {IDM_TRAYHELP, &MainForm::menuTrayHelp_click},
    {IDM_TRAYOPEN, &MainForm::traymnuOpen_Click},
    {IDM_TRAYCLOSE, &MainForm::traymnuClose_Click},
};

}  // namespace

bool MainForm::RunMenuCommand(int id) {
    for (const MenuCommand& c : kMenuCommands) {
        if (c.id == id) {
            (this->*c.handler)();
            return true;
        }
    }
    return false;
}

}  // namespace quillet
