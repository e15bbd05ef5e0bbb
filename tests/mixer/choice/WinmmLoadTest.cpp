// The WINMM mixer loads Windows' winmm.dll from the system directory: a winmm.dll beside the
// program (this test program has one, PlantedWinmm.cpp) is never the one that answers.
#include "mixer/choice/WinmmMixer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string BesideThisProgram(const char* pszFileName)
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of("\\/") + 1) + pszFileName;
}

TEST(WinmmLoadTest, AWinmmDllBesideTheProgramIsNeverLoaded)
{
    const std::string strPlanted = BesideThisProgram("winmm.dll");
    ASSERT_NE(::GetFileAttributesA(strPlanted.c_str()), INVALID_FILE_ATTRIBUTES) << strPlanted;

    CWinmmMixer mixer;
    EXPECT_NE(mixer.GetNumDevs(), 77u);
    char szSystem[MAX_PATH] = {};
    ::GetSystemDirectoryA(szSystem, MAX_PATH);
    char szLoaded[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameA(::GetModuleHandleA("winmm.dll"), szLoaded, MAX_PATH), 0u);
    EXPECT_EQ(::lstrcmpiA(szLoaded, (std::string(szSystem) + "\\winmm.dll").c_str()), 0) << szLoaded;

    // The wide functions come from there too, with the names the narrow ones give.
    MIXERCAPSA caps{};
    MIXERCAPSW capsW{};
    ASSERT_EQ(mixer.GetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    ASSERT_EQ(mixer.GetDevCaps(0, &capsW, sizeof capsW), MMSYSERR_NOERROR);
    EXPECT_EQ(std::wstring(capsW.szPname),
              std::wstring(caps.szPname, caps.szPname + std::strlen(caps.szPname)));
}

} // namespace
