// The bar's global keys as the settings keep them: section "Keys" of the application's registry
// key, one REG_DWORD per key and role, named by the key and the role word ("Mute r0"), holding
// the hotkey control's word (the virtual key in the low byte, HOTKEYF_* above it). The keys of
// one role belong to the copy that runs it; a missing or malformed value is no key.
#pragma once

#include <windows.h>

#include <array>
#include <string>

// The four keys of a bar, in the order of their string table entries.
enum EBarKey { kKeyVolumeUp, kKeyVolumeDown, kKeyMute, kKeyShowOrHide, kBarKeyCount };
using CBarKeys = std::array<WORD, kBarKeyCount>;

// The key that a stored value holds: 0 (none) unless it is a virtual key with nothing above it
// but the hotkey control's four modifier flags.
WORD HotKeyOfStored(DWORD dwStored);

CBarKeys ReadBarKeys(const std::string& strRoleWord);
// A key that is not set is written as 0.
void WriteBarKeys(const std::string& strRoleWord, const CBarKeys& keys);
