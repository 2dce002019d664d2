// The Windows headers as the backend uses them: every backend file includes this first.
#pragma once

#include <windows.h>

// The program's own interfaces use these names for their operations; the headers' A/W
// macros would rename them.
#undef DeleteFile
#undef MessageBox
#undef ReplaceFile
