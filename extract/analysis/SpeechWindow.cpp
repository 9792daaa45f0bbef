#include "extract/analysis/SpeechWindow.h"

#include <algorithm>

namespace vocafetch {

namespace {

bool isNear(quint8 a, quint8 b)
{
    return quint8(a - b + 1) <= 2;
}

} // namespace

void SpeechWindow::reset(const HeaderlessLimits &limits)
{
    // Entries are written before they are read: only the size matters.
    m_entries.resize(size_t(std::max(limits.minFrames, 1)));
    m_next = m_count = m_live = m_bad = 0;
    m_length = m_zero = m_near12 = 0;
    m_minSpeech = limits.minSpeechFrames;
    m_maxBad = limits.maxBadFrames;
    m_maxNear = limits.maxNearByteShare;
    m_maxZero = limits.maxZeroByteShare;
}

void SpeechWindow::add(bool live, bool bad, const char *payload, int length, const char *previous1,
                       const char *previous2)
{
    Entry added;
    added.live = live;
    added.bad = bad;
    if (live) {
        added.length = length;
        const auto *bytes = reinterpret_cast<const quint8 *>(payload);
        const auto *one = reinterpret_cast<const quint8 *>(previous1);
        const auto *two = reinterpret_cast<const quint8 *>(previous2);
        for (int i = 0; i < length; ++i) {
            const bool nearOne = one != nullptr && isNear(bytes[i], one[i]);
            added.zero += bytes[i] == 0 ? 1 : 0;
            added.near1 += nearOne ? 1 : 0;
            added.near12 += nearOne || (two != nullptr && isNear(bytes[i], two[i])) ? 1 : 0;
        }
    }
    Entry &slot = m_entries[size_t(m_next)];
    if (m_count == int(m_entries.size())) {
        m_live -= slot.live ? 1 : 0;
        m_bad -= slot.bad ? 1 : 0;
        m_length -= slot.length;
        m_zero -= slot.zero;
        m_near12 -= slot.near12;
    } else {
        ++m_count;
    }
    slot = added;
    m_next = (m_next + 1) % int(m_entries.size());
    m_live += live ? 1 : 0;
    m_bad += bad ? 1 : 0;
    m_length += added.length;
    m_zero += added.zero;
    m_near12 += added.near12;
}

const SpeechWindow::Entry &SpeechWindow::entry(int age) const
{
    const int size = int(m_entries.size());
    return m_entries[size_t((m_next - m_count + age + 2 * size) % size)];
}

bool SpeechWindow::looksLikeSpeech() const
{
    if (m_count < int(m_entries.size()) || m_live < m_minSpeech || m_bad > m_maxBad)
        return false;
    // The oldest frame's comparisons reach outside the window, the next one's halfway.
    qint64 near = m_near12 - entry(0).near12;
    if (m_count > 1)
        near += entry(1).near1 - entry(1).near12;
    return near <= m_maxNear * double(m_length) && m_zero <= m_maxZero * double(m_length);
}

} // namespace vocafetch
