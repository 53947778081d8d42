// Child of the kill tests: replaces a file with two contents in turn until it is killed.
// Usage: replace_writer TARGET FIRST SECOND READY_EVENT
#include <windows.h>

#include <cstdio>
#include <string>

#include "store/filesystem.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fputs("usage: replace_writer TARGET FIRST SECOND READY_EVENT\n", stderr);
        return 2;
    }
    quillet::FileSystem& fs = quillet::RealFileSystem();
    const quillet::FileRead first = fs.ReadAll(argv[2]);
    const quillet::FileRead second = fs.ReadAll(argv[3]);
    if (first.status != quillet::FileRead::Status::kOk ||
        second.status != quillet::FileRead::Status::kOk) {
        std::fputs("replace_writer: cannot read the contents\n", stderr);
        return 2;
    }
    // The parent's random delay counts from here, not from the process start,
    // which under Wine takes far longer than a write.
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]);
    if (!ready || !::SetEvent(ready)) {
        std::fputs("replace_writer: cannot signal the parent\n", stderr);
        return 2;
    }
    for (bool b = false;; b = !b) fs.ReplaceAtomically(argv[1], b ? second.bytes : first.bytes);
}
