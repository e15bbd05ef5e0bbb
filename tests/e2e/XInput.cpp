#include "XInput.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string TempFile(const char* pszPrefix)
{
    char szDir[MAX_PATH] = {};
    char szFile[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szDir);
    ::GetTempFileNameA(szDir, pszPrefix, 0, szFile);
    return szFile;
}

bool XDoTool(const std::string& strArguments)
{
    return RunUnixCommand("xdotool " + strArguments);
}

// Moves the pointer to pt, then runs the rest of an xdotool command there. --sync waits until the
// pointer has moved, and a move to where the pointer already is makes it wait some fifteen seconds
// for a motion that never comes, so the X server is asked where the pointer is in the same
// command: Wine's own idea of it (GetCursorPos) lags while a copy still works through the input
// queued before.
bool XDoToolAt(POINT pt, const std::string& strThen)
{
    const std::string strX = std::to_string(pt.x);
    const std::string strY = std::to_string(pt.y);
    return RunUnixCommand("eval $(xdotool getmouselocation --shell); sync=--sync; [ $X = " + strX +
                          " ] && [ $Y = " + strY + " ] && sync=; xdotool mousemove $sync " + strX + " " +
                          strY + strThen);
}

} // namespace

std::string ScreenshotPath(const std::string& strName)
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strDir = szPath;
    strDir = strDir.substr(0, strDir.find_last_of("\\/") + 1) + "screens";
    ::CreateDirectoryA(strDir.c_str(), nullptr);
    return strDir + "\\" + strName;
}

std::string UnixPath(const std::string& strWindowsPath)
{
    // wine_get_unix_file_name is Wine's own export: a Windows build of the tests has no other
    // way to learn where a file lives for the Linux side.
    using GetUnixName = char*(CDECL*)(LPCWSTR);
    const auto pfn = reinterpret_cast<GetUnixName>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!pfn)
        return {};
    std::wstring wstrPath(strWindowsPath.begin(), strWindowsPath.end());
    char* pszUnix = pfn(wstrPath.c_str());
    if (!pszUnix)
        return {};
    std::string strUnix = pszUnix;
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

bool RunUnixCommand(const std::string& strCommand, std::string* pstrOutput)
{
    // Wine starts a Linux program given by its path as it starts a Windows one, but the process
    // handle it returns cannot be waited on: the shell writes the exit status to a file last,
    // and its appearance says that the command has ended.
    const std::string strOutputFile = TempFile("sxo");
    const std::string strStatusFile = TempFile("sxs");
    ::DeleteFileA(strStatusFile.c_str());
    const std::string strLine = "/bin/sh -c \"" + strCommand + " > '" + UnixPath(strOutputFile) +
                                "' 2>&1; echo $? > '" + UnixPath(strStatusFile) + ".tmp'; mv '" +
                                UnixPath(strStatusFile) + ".tmp' '" + UnixPath(strStatusFile) + "'\"";
    std::vector<char> commandLine(strLine.begin(), strLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    int nStatus = -1;
    for (int nWaited = 0; nWaited < 30000 && nStatus < 0; nWaited += 10) {
        if (std::ifstream status{strStatusFile}; status >> nStatus)
            break;
        ::Sleep(10);
    }
    if (pstrOutput) {
        std::ostringstream text;
        text << std::ifstream(strOutputFile).rdbuf();
        *pstrOutput = text.str();
    }
    ::DeleteFileA(strOutputFile.c_str());
    ::DeleteFileA(strStatusFile.c_str());
    return nStatus == 0;
}

bool XMove(POINT pt)
{
    return XDoToolAt(pt, "");
}

bool XClick(POINT pt, int nButton, int nRepeat)
{
    return XDoToolAt(pt, " click --repeat " + std::to_string(nRepeat) + " " + std::to_string(nButton));
}

bool XButtonDown(POINT pt, int nButton)
{
    return XDoToolAt(pt, " mousedown " + std::to_string(nButton));
}

bool XButtonUp(POINT pt, int nButton)
{
    return XDoToolAt(pt, " mouseup " + std::to_string(nButton));
}

bool XWheel(POINT pt, int nNotches)
{
    // X reports the wheel as buttons 4 (away from the user) and 5 (towards the user).
    const int nButton = nNotches > 0 ? 4 : 5;
    return XClick(pt, nButton, nNotches > 0 ? nNotches : -nNotches);
}

bool XKeys(const std::string& strKeys)
{
    return XDoTool("key --delay 30 " + strKeys);
}

bool XScreenshot(const RECT& rcScreen, const std::string& strPath)
{
    const std::string strGeometry = std::to_string(rcScreen.right - rcScreen.left) + "x" +
                                    std::to_string(rcScreen.bottom - rcScreen.top) + "+" +
                                    std::to_string(rcScreen.left) + "+" + std::to_string(rcScreen.top);
    return RunUnixCommand("xwd -root -silent | convert xwd:- -crop " + strGeometry + " +repage '" +
                          UnixPath(strPath) + "'");
}
