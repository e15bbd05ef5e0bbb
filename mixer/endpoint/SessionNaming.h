// The name under which an application's audio session appears, as Windows' Volume Mixer names
// it: the display name that the program gave its session (an indirect string such as
// "@%SystemRoot%\System32\AudioSrv.Dll,-202" resolved from its resource), "System Sounds" for
// the system-sounds session, otherwise the description in the program file's version resource,
// otherwise the program file's name without ".exe"; "Name Not Available" when the process cannot
// be opened.
//
// SessionName holds the rule over plain values; the functions below it ask Windows for them.
// Newer functions (SHLoadIndirectString, QueryFullProcessImageNameW) and version.dll are looked
// up at run time, so that the program still starts on systems that lack them.
#pragma once

#include <windows.h>

#include <string>

struct SSessionNameFacts {
    // As the session answers it, indirect strings unresolved; empty when the program set none.
    std::wstring strDisplayName;
    // The display name resolved, when it is an indirect string that could be resolved.
    std::wstring strResolvedName;
    bool bSystemSounds = false;
    // The program file's full path; empty when the process could not be opened.
    std::wstring strProgramPath;
    // FileDescription of the program file's version resource; empty when it has none.
    std::wstring strDescription;
};

std::wstring SessionName(const SSessionNameFacts& facts);

bool IsIndirectString(const std::wstring& str);
// The text an indirect string ("@file,-id") stands for; empty when it cannot be resolved.
std::wstring ResolveIndirectString(const std::wstring& str);
// The full path of a process's program file; empty when the process cannot be opened.
std::wstring ProgramPathOf(DWORD dwProcessId);
// The FileDescription of a file's version resource, in its first language; empty when none.
std::wstring FileDescriptionOf(const std::wstring& strPath);

// The facts of a session with this display name, process (0: none) and kind, asked of Windows.
// The program file's are asked for whatever the display name, so that they name the session
// still when the program later gives it a name that does not do, and its process has ended.
SSessionNameFacts NameFactsOf(const std::wstring& strDisplayName, DWORD dwProcessId, bool bSystemSounds);
// A new display name, resolved where it is an indirect string.
void SetDisplayName(SSessionNameFacts& facts, const std::wstring& strDisplayName);
