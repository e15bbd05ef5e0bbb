// The bar's settings: integers and texts in section "Settings" of the application's registry key, named
// by entries of the string table (IDS_X_COORDINATE and so on).
#pragma once

#include <windows.h>

#include <string>

int ReadSetting(UINT nNameID, int nDefault);
void WriteSetting(UINT nNameID, int nValue);

// A setting with a range of meaningful values: one stored outside nMin..nMax reads as the
// default, so that it is saved back repaired.
int ReadSettingInRange(UINT nNameID, int nDefault, int nMin, int nMax);

// Texts in Unicode.
std::wstring ReadSettingText(UINT nNameID);
void WriteSettingText(UINT nNameID, const std::wstring& wstrValue);
