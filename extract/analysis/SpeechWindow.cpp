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
    m_next = m_count = m_live = m_bad = m_compared = 0;
    m_length = m_zero = m_near12 = 0;
    m_nearAt.fill(0);
    m_minSpeech = limits.minSpeechFrames;
    m_maxBad = limits.maxBadFrames;
    m_maxNear = limits.maxNearByteShare;
    m_maxZero = limits.maxZeroByteShare;
    m_maxNearAtOnePlace = limits.maxNearAtOnePlace;
}

void SpeechWindow::count(const Entry &entry, int sign)
{
    m_near12 += sign * entry.near12;
    m_compared += entry.compared ? sign : 0;
    for (quint64 bits = entry.nearAt; bits != 0; bits &= bits - 1)
        m_nearAt[size_t(__builtin_ctzll(bits))] += sign;
}

void SpeechWindow::add(bool live, bool bad, const char *payload, int length, const char *previous1,
                       const char *previous2)
{
    Entry added;
    added.live = live;
    added.bad = bad;
    if (live) {
        added.length = length;
        added.compared = previous1 != nullptr || previous2 != nullptr;
        const auto *bytes = reinterpret_cast<const quint8 *>(payload);
        const auto *one = reinterpret_cast<const quint8 *>(previous1);
        const auto *two = reinterpret_cast<const quint8 *>(previous2);
        for (int i = 0; i < length; ++i) {
            const bool nearOne = one != nullptr && isNear(bytes[i], one[i]);
            const bool nearEither = nearOne || (two != nullptr && isNear(bytes[i], two[i]));
            added.zero += bytes[i] == 0 ? 1 : 0;
            added.near1 += nearOne ? 1 : 0;
            added.near12 += nearEither ? 1 : 0;
            added.nearAt |= quint64(nearEither && i < 64) << (i & 63);
        }
    }
    const int size = int(m_entries.size());
    if (m_count == size) {
        const Entry &oldest = m_entries[size_t(m_next)];
        m_live -= oldest.live ? 1 : 0;
        m_bad -= oldest.bad ? 1 : 0;
        m_length -= oldest.length;
        m_zero -= oldest.zero;
        // The third oldest becomes the second: its comparisons reach outside now.
        if (size > 2)
            count(m_entries[size_t((m_next + 2) % size)], -1);
    } else {
        ++m_count;
    }
    m_entries[size_t(m_next)] = added;
    m_next = (m_next + 1) % size;
    m_live += live ? 1 : 0;
    m_bad += bad ? 1 : 0;
    m_length += added.length;
    m_zero += added.zero;
    if (m_count > 2)
        count(added, +1);
}

bool SpeechWindow::looksLikeSpeech() const
{
    const int size = int(m_entries.size());
    if (m_count < size || m_live < m_minSpeech || m_bad > m_maxBad)
        return false;
    // The second oldest is compared with the oldest only.
    qint64 near = m_near12;
    if (size > 1)
        near += m_entries[size_t((m_next + 1) % size)].near1;
    if (near > m_maxNear * double(m_length) || m_zero > m_maxZero * double(m_length))
        return false;
    // A place in the payloads that keeps near the frames before: a field of a table.
    if (m_compared >= std::max(m_minSpeech / 2, 1)) {
        const int most = *std::max_element(m_nearAt.begin(), m_nearAt.end());
        if (most > m_maxNearAtOnePlace * double(m_compared))
            return false;
    }
    return true;
}

} // namespace vocafetch
