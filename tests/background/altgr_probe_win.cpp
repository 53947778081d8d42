// Prints the digit keys whose Ctrl+Alt (AltGr) combination types a character
// on the active keyboard layout, as one line such as "typing: 2 3 7".
#include <cstdio>

#include "background/hotkey_client_win.h"

int wmain() {
    quillet::ActiveKeyboardLayout layout;
    std::printf("typing:");
    for (int key = '0'; key <= '9'; ++key)
        if (layout.CtrlAltTypesCharacter(key)) std::printf(" %c", key);
    std::printf("\n");
    return 0;
}
