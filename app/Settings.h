// The bar's settings: integers in section "Settings" of the application's registry key, named
// by entries of the string table (IDS_X_COORDINATE and so on).
#pragma once

#include <windows.h>

int ReadSetting(UINT nNameID, int nDefault);
void WriteSetting(UINT nNameID, int nValue);
