// <windows.h> without its A/W macros that collide with this program's own
// names (the settings store's GetProfileString & co., IPrompts::MessageBox).
// Include this instead of <windows.h> everywhere.
#pragma once

#include <windows.h>
#include <shellapi.h>

#undef GetProfileString
#undef GetProfileInt
#undef WriteProfileString
#undef MessageBox
