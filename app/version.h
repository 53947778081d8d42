// The program's version, shared by the code and the version resource.
#pragma once

#define QUILLET_VERSION_MAJOR 1
#define QUILLET_VERSION_MINOR 0
#define QUILLET_VERSION_REVISION 0
#define QUILLET_VERSION_TEXT "1.0.0"
