#!/usr/bin/env python3
"""Fails when the shipped program imports a function that Windows XP SP3 does not have, or
declares a subsystem version above XP's 5.1: XP refuses to load such a program at all.

Usage: xp_imports.py <objdump> <program.exe>

Every import must be in the table below, which holds only functions whose documented minimum
client is Windows XP or earlier (checked one by one against Microsoft's documentation when
added). A new import fails until someone has checked its minimum client: add it only when that
is XP SP3 or earlier, and otherwise find another way to do without it.
"""
import re
import subprocess
import sys

# Why some entries are here, with the first client Windows of each:
# - DrawFocusRect, GetFocus (Windows 2000): the picture buttons' focus cue and Enter on them;
#   CreateCompatibleBitmap (2000): the cue drawn at the pictures' size before they are enlarged.
# - GetForegroundWindow (2000): a bar takes the keyboard only from another bar.
# - NotifyWinEvent (2000): screen readers hear of the mute button's state at once;
#   MultiByteToWideChar (2000): the texts handed to the annotation service, which itself is
#   created through CoCreateInstance and imports nothing.
# - RegCreateKeyExW, RegOpenKeyExW, RegQueryValueExW, RegSetValueExW, RegDeleteValueW, lstrcmpiW
#   (2000): the Run value that starts the program at logon, whose path may hold any letter;
#   ExpandEnvironmentStringsW and LCMapStringW (2000): a REG_EXPAND_SZ Run value, and its path
#   compared letter by letter in the invariant upper case (LOCALE_INVARIANT itself is XP's).
# - RegisterHotKey, UnregisterHotKey, GetKeyNameTextA, MapVirtualKeyA, GetAsyncKeyState,
#   SendDlgItemMessageA, SetDlgItemTextA, SetWindowTextA (2000): the global keys, their names in
#   the Keys dialog, and a held key watched until it is released.
AVAILABLE_ON_XP = {
    "ADVAPI32.DLL": """
        RegCloseKey RegCreateKeyExA RegCreateKeyExW RegDeleteValueW RegOpenKeyExA RegOpenKeyExW
        RegQueryValueExA RegQueryValueExW RegSetValueExA RegSetValueExW
    """,
    "COMCTL32.DLL": """
        InitCommonControlsEx
    """,
    "GDI32.DLL": """
        BitBlt CreateCompatibleBitmap CreateCompatibleDC CreateDIBitmap CreatePen DeleteDC DeleteObject GetDeviceCaps
        GetMapMode GetStockObject LineTo MoveToEx SelectObject SetMapMode SetStretchBltMode
        StretchBlt
    """,
    "KERNEL32.DLL": """
        CloseHandle CreateFileMappingA CreateMutexA CreateProcessW CreateSemaphoreW CreateThread
        DeleteCriticalSection DuplicateHandle EnterCriticalSection ExpandEnvironmentStringsW
        FindResourceA FreeLibrary
        GetCommandLineA GetCurrentProcess GetCurrentProcessId GetCurrentThreadId GetLastError
        GetModuleFileNameW GetModuleHandleA GetModuleHandleW GetProcAddress GetProcessId
        GetProcessTimes GetStartupInfoA GetSystemDirectoryA GetTickCount GlobalUnlock
        InitializeCriticalSection LCMapStringW LeaveCriticalSection LoadLibraryA LoadLibraryExA LoadLibraryW
        LoadResource LockResource lstrcmpiA lstrcmpiW lstrcpynA MapViewOfFile MulDiv MultiByteToWideChar OpenProcess
        OutputDebugStringA ReleaseMutex ReleaseSemaphore SetEvent SetLastError
        SetUnhandledExceptionFilter SizeofResource Sleep TlsAlloc TlsFree TlsGetValue TlsSetValue
        UnmapViewOfFile VirtualProtect VirtualQuery WaitForSingleObject WideCharToMultiByte
    """,
    "MSVCRT.DLL": """
        __getmainargs __initenv __p__acmdln __p__commode __p__fmode __set_app_type __setusermatherr
        _amsg_exit _cexit _close _errno _initterm _iob _onexit _read abort calloc exit fprintf free
        fwrite getenv isspace malloc memchr memcmp memcpy memmove memset realloc signal strcmp
        strlen strncmp vfprintf wcslen
    """,
    "OLE32.DLL": """
        CoCreateGuid CoCreateInstance CoInitializeEx CoTaskMemFree CoUninitialize PropVariantClear
        StringFromGUID2
    """,
    "SHELL32.DLL": """
        Shell_NotifyIconA
    """,
    "USER32.DLL": """
        AppendMenuA AppendMenuW BeginPaint CallNextHookEx CallWindowProcA CheckMenuItem CheckMenuRadioItem
        CreateDialogParamA CreatePopupMenu CreateWindowExA DefWindowProcA DeleteMenu DestroyIcon DestroyMenu
        DestroyWindow DialogBoxParamA DispatchMessageA DrawFocusRect DrawIcon EnableMenuItem EnableWindow
        EndDialog EndPaint EnumDisplayMonitors EnumThreadWindows FindWindowExA FrameRect GetAncestor
        GetClassNameA GetClientRect GetCursorPos GetDC GetDesktopWindow GetAsyncKeyState GetDlgItem GetFocus GetKeyNameTextA
        GetForegroundWindow GetMenuItemCount GetMenuItemID
        GetMenuState GetMenuStringA GetMessageA GetMonitorInfoA GetParent GetPropA GetSubMenu
        GetSysColor GetSystemMenu GetSystemMetrics GetWindow GetWindowLongA GetWindowRect
        GetWindowTextA GetWindowTextW InflateRect InsertMenuA InsertMenuW InvalidateRect IsChild IsDialogMessageA IsIconic IsWindow
        IsWindowEnabled IsWindowVisible IsZoomed KillTimer LoadAcceleratorsA LoadIconA LoadImageA
        LoadMenuA LoadStringW MapVirtualKeyA MapWindowPoints MessageBoxA MonitorFromRect MonitorFromWindow
        MoveWindow NotifyWinEvent PeekMessageA PostMessageA
        PostQuitMessage PostThreadMessageA RegisterHotKey RegisterWindowMessageA ReleaseDC RemovePropA SendMessageA
        SendDlgItemMessageA SendMessageTimeoutA SetDlgItemTextA SetForegroundWindow SetPropA SetTimer
        SetWindowLongA SetWindowPos SetWindowTextA SetWindowTextW
        SetWindowsHookExA ShowWindow TrackPopupMenu TranslateAcceleratorA TranslateMessage
        UnhookWindowsHookEx UnregisterHotKey WaitForInputIdle
    """,
}

# Functions that a MinGW-w64 runtime or a newer SDK is known to bring in, with the first client
# Windows that has them, so that the failure says why at once.
LATER_THAN_XP = {
    "GetTickCount64": "Vista", "InitializeConditionVariable": "Vista", "SleepConditionVariableCS": "Vista",
    "WakeConditionVariable": "Vista", "WakeAllConditionVariable": "Vista", "InitializeSRWLock": "Vista",
    "AcquireSRWLockExclusive": "Vista", "ReleaseSRWLockExclusive": "Vista", "InitOnceExecuteOnce": "Vista",
    "FlsAlloc": "Vista", "GetThreadId": "Vista", "CreateEventExW": "Vista", "SetDefaultDllDirectories": "8",
}

# XP is Windows NT 5.1.
XP_SUBSYSTEM = (5, 1)


def read_program(objdump, program):
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True, text=True).stdout
    version = {}
    for key in ("MajorSubsystemVersion", "MinorSubsystemVersion"):
        version[key] = int(re.search(key + r"\s+(\d+)", text).group(1))
    imports = []
    dll = None
    for line in text.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).upper()
            continue
        entry = re.match(r"\t[0-9a-f]+\s+\d+\s+(\S+)$", line)
        if dll and entry:
            imports.append((dll, entry.group(1)))
        elif not line.strip():
            dll = None
    return (version["MajorSubsystemVersion"], version["MinorSubsystemVersion"]), imports


def main():
    objdump, program = sys.argv[1:3]
    subsystem, imports = read_program(objdump, program)
    known = {dll: set(names.split()) for dll, names in AVAILABLE_ON_XP.items()}
    failures = []
    if subsystem > XP_SUBSYSTEM:
        failures.append("subsystem version %d.%d is above Windows XP's 5.1" % subsystem)
    for dll, name in imports:
        if name in LATER_THAN_XP:
            failures.append("%s!%s needs Windows %s" % (dll, name, LATER_THAN_XP[name]))
        elif name not in known.get(dll, ()):
            failures.append("%s!%s is not in the table of functions checked to exist on Windows XP SP3" % (dll, name))
    if not imports:
        failures.append("no imports found in %s: not a program objdump can read" % program)
    for failure in failures:
        print(failure)
    print("%s: %d imports, %d problems for Windows XP SP3" % (program, len(imports), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
