// The Windows headers the bar's windows need, without the A/W macros that
// collide with names of this program (IPrompts::MessageBox, the settings
// store's GetProfileString & co.).
#pragma once

#include <windows.h>
#include <shellapi.h>

#undef GetProfileString
#undef GetProfileInt
#undef WriteProfileString
#undef MessageBox
