// Which application an audio session belongs to, as Windows' Volume Mixer groups them: every
// session of one program shares its session identifier (a browser's many processes, a player's
// several streams), while each has an instance identifier of its own; sessions that carry the
// same grouping parameter (a GUID other than GUID_NULL) belong together too. Applications are
// numbered in the order in which they are first seen, and keep their number.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SSessionIdentity {
    // IAudioSessionControl2::GetSessionIdentifier.
    std::wstring strSession;
    // IAudioSessionControl2::GetSessionInstanceIdentifier.
    std::wstring strInstance;
    // IAudioSessionControl::GetGroupingParam; GUID_NULL: none.
    GUID grouping = GUID_NULL;
};

class CApplicationGroups {
public:
    // The number of the session's application; a session that matches none begins a new one.
    size_t ApplicationOf(const SSessionIdentity& identity);
    size_t Count() const { return m_applications.size(); }

private:
    struct SApplicationKey {
        std::vector<std::wstring> sessions;
        std::vector<GUID> groupings;
    };
    std::vector<SApplicationKey> m_applications;
};
