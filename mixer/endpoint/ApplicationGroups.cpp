#include "mixer/endpoint/ApplicationGroups.h"

#include <algorithm>

size_t CApplicationGroups::ApplicationOf(const SSessionIdentity& identity)
{
    const bool bGrouped = !IsEqualGUID(identity.grouping, GUID_NULL);
    const auto hasGroup = [&](const SApplicationKey& key) {
        return bGrouped && std::any_of(key.groupings.begin(), key.groupings.end(),
                                       [&](const GUID& g) { return IsEqualGUID(g, identity.grouping); });
    };
    const auto hasProgram = [&](const SApplicationKey& key) {
        return !identity.strSession.empty() &&
               std::find(key.sessions.begin(), key.sessions.end(), identity.strSession) != key.sessions.end();
    };
    // The group first: a session that joins another group leaves its program's application.
    auto it = std::find_if(m_applications.begin(), m_applications.end(), hasGroup);
    if (it == m_applications.end())
        it = std::find_if(m_applications.begin(), m_applications.end(), hasProgram);
    SApplicationKey& key = it != m_applications.end() ? *it : m_applications.emplace_back();
    if (!identity.strSession.empty() && !hasProgram(key))
        key.sessions.push_back(identity.strSession);
    if (bGrouped && !hasGroup(key))
        key.groupings.push_back(identity.grouping);
    return static_cast<size_t>(&key - m_applications.data());
}
