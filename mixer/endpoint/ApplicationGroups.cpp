#include "mixer/endpoint/ApplicationGroups.h"

#include <algorithm>

size_t CApplicationGroups::ApplicationOf(const SSessionIdentity& identity)
{
    const bool bGrouped = !IsEqualGUID(identity.grouping, GUID_NULL);
    const auto it =
        std::find_if(m_applications.begin(), m_applications.end(), [&](const SApplicationKey& key) {
            const bool bSameProgram =
                !identity.strSession.empty() && std::find(key.sessions.begin(), key.sessions.end(),
                                                          identity.strSession) != key.sessions.end();
            const bool bSameGroup =
                bGrouped && std::any_of(key.groupings.begin(), key.groupings.end(),
                                        [&](const GUID& g) { return IsEqualGUID(g, identity.grouping); });
            return bSameProgram || bSameGroup;
        });
    SApplicationKey& key = it != m_applications.end() ? *it : m_applications.emplace_back();
    if (!identity.strSession.empty() &&
        std::find(key.sessions.begin(), key.sessions.end(), identity.strSession) == key.sessions.end())
        key.sessions.push_back(identity.strSession);
    if (bGrouped && std::none_of(key.groupings.begin(), key.groupings.end(),
                                 [&](const GUID& g) { return IsEqualGUID(g, identity.grouping); }))
        key.groupings.push_back(identity.grouping);
    return static_cast<size_t>(&key - m_applications.data());
}
