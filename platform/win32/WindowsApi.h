#pragma once
// The one way platform/win32 includes the system headers. The platform interfaces reuse
// Win32 names (SendMessage, GetClassName, ReplaceFile...) that <windows.h> defines as macros
// for its A/W pairs; those macros would rename our methods in some files and not in others,
// so they are undefined here and the backend always calls the W function by its full name.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oaidl.h>

#undef SendMessage
#undef SendMessageTimeout
#undef RegisterClipboardFormat
#undef PostMessage
#undef GetWindowLong
#undef SetWindowLong
#undef GetClassName
#undef GetWindowText
#undef GetWindowTextLength
#undef SetWindowText
#undef GetModuleFileName
#undef GetFileAttributes
#undef GetFileAttributesEx
#undef ReplaceFile
#undef MoveFile
#undef DeleteFile
#undef CopyFile
#undef CreateFile
#undef FindFirstFile
#undef FindNextFile
#undef MessageBox
#undef ShellExecute
#undef CreateMutex
#undef FindWindow
#undef GetWindowsDirectory
#undef LoadIcon
#undef CreateWindow
#undef DrawText
#undef GetObject
#undef GetOpenFileName
#undef RegQueryValueEx
#undef RegSetValueEx
#undef RegDeleteValue
#undef QueryFullProcessImageName

// commctrl.h's helper macros (TabCtrl_GetCurSel...) send through SNDMSG.
#undef SNDMSG
#define SNDMSG ::SendMessageW
