#pragma once
// Stands in for the system header in the native fuzzing build only. The
// program entry record launches programs as well as reading them, so its
// header names handle types; the readers never launch, and these
// declarations are all they need to compile. Nothing here is called by a
// reader (NativePlatform.cpp answers the few that link).

#include <cstdint>

using BOOL = int;
using UINT = unsigned;
using DWORD = uint32_t;
using LONG = int32_t;
using HANDLE = void*;
using HWND = struct HWND__*;
using HDESK = struct HDESK__*;
using HMODULE = struct HINSTANCE__*;
using HKEY = struct HKEY__*;
using HBITMAP = struct HBITMAP__*;
using HMENU = struct HMENU__*;
using HICON = struct HICON__*;
using HHOOK = struct HHOOK__*;
struct STARTUPINFOA;

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

BOOL CloseHandle(HANDLE);
BOOL UnmapViewOfFile(const void*);
BOOL CloseDesktop(HDESK);
BOOL FreeLibrary(HMODULE);
long RegCloseKey(HKEY);
BOOL DeleteObject(void*);
BOOL DestroyMenu(HMENU);
BOOL DestroyIcon(HICON);
BOOL UnhookWindowsHookEx(HHOOK);
