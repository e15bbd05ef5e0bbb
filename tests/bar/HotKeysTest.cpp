// The global keys as stored and registered: a value of the settings' Keys section read as a key
// of its role or as none, the hotkey control's word turned into RegisterHotKey's modifiers, and
// the key's name that the Keys dialog says.
#include "BarTestSupport.h"
#include "app/KeySettings.h"
#include "bar/HotKeys.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

const char kKeysKey[] = "Software\\Quillmark\\Sonobar\\Keys";
// A bar's test: the settings start empty.
class HotKeysTest : public BarTest {};

TEST_F(HotKeysTest, StoredValuesKeysModifiersAndNames)
{
    const struct {
        const char* pszValueName;
        DWORD dwType;
        DWORD dwStored;
        int nKey;
        WORD wRead;
        UINT fsModifiers;
        const char* pszName;
    } cases[] = {
        {"Mute r0", REG_DWORD, 0x064D, kKeyMute, 0x064D, MOD_CONTROL | MOD_ALT, "Ctrl+Alt+M"},
        // The arrows are extended keys; the flag names the key and is no modifier.
        {"Volume Up r0", REG_DWORD, 0x0E26, kKeyVolumeUp, 0x0E26, MOD_CONTROL | MOD_ALT, "Ctrl+Alt+Up"},
        {"Volume Down r0", REG_DWORD, 0x0374, kKeyVolumeDown, 0x0374, MOD_CONTROL | MOD_SHIFT,
         "Ctrl+Shift+F5"},
        {"Show or Hide r0", REG_DWORD, 0x0531, kKeyShowOrHide, 0x0531, MOD_SHIFT | MOD_ALT, "Shift+Alt+1"},
        {"Mute r0", REG_DWORD, 0x0F24, kKeyMute, 0x0F24, MOD_CONTROL | MOD_SHIFT | MOD_ALT,
         "Ctrl+Shift+Alt+Home"},
        {"Mute r0", REG_DWORD, 0x0600, kKeyMute, 0, 0, nullptr},  // no virtual key
        {"Mute r0", REG_DWORD, 0x164D, kKeyMute, 0, 0, nullptr},  // a flag the control has not
        {"Mute r0", REG_DWORD, 0x1064D, kKeyMute, 0, 0, nullptr}, // more than a word
        {"Mute r0", REG_SZ, 0, kKeyMute, 0, 0, nullptr},          // not a number
        {"Mute v0", REG_DWORD, 0x064D, kKeyMute, 0, 0, nullptr},  // another role's
        {"Mute", REG_DWORD, 0x064D, kKeyMute, 0, 0, nullptr},     // no role
    };
    for (const auto& c : cases) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kKeysKey);
        if (c.dwType == REG_DWORD)
            ::RegSetKeyValueA(HKEY_CURRENT_USER, kKeysKey, c.pszValueName, REG_DWORD, &c.dwStored,
                              sizeof c.dwStored);
        else
            ::RegSetKeyValueA(HKEY_CURRENT_USER, kKeysKey, c.pszValueName, REG_SZ, "1613", 5);
        const CBarKeys keys = ReadBarKeys("r0");
        EXPECT_EQ(c.wRead, keys[c.nKey]) << c.pszValueName << " " << std::hex << c.dwStored;
        for (int nKey = 0; nKey < kBarKeyCount; ++nKey)
            EXPECT_TRUE(nKey == c.nKey || keys[nKey] == 0) << c.pszValueName << " read as key " << nKey;
        if (!c.pszName)
            continue;
        EXPECT_EQ(c.fsModifiers, HotKeyModifiers(c.wRead)) << c.pszName;
        EXPECT_EQ(c.pszName, HotKeyName(c.wRead));
    }
}

} // namespace
