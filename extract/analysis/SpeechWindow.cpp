#include "extract/analysis/SpeechWindow.h"

#include <algorithm>

namespace vocafetch {

namespace {

// 1 when byte a lies within one of byte b, else 0; 1 when a byte is zero. Worked out without a
// comparison, so that the loops over a payload have no branch in them.
unsigned nearBit(quint8 a, quint8 b)
{
    return (unsigned(quint8(a - b + 1)) - 3u) >> 31;
}

unsigned zeroBit(quint8 a)
{
    return (unsigned(a) - 1u) >> 31;
}

// Bit i: payload byte i lies within one of other's byte i, for the first count (at most 64).
quint64 nearBits(const quint8 *bytes, const quint8 *other, int count)
{
    quint64 bits = 0;
    for (int i = 0; i < count; ++i)
        bits |= quint64(nearBit(bytes[i], other[i])) << i;
    return bits;
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
        // An AMR payload is at most 60 bytes: its places fit one 64-bit mask.
        const int compared = std::min(length, 64);
        const quint64 nearOne = one != nullptr ? nearBits(bytes, one, compared) : 0;
        added.nearAt = nearOne | (two != nullptr ? nearBits(bytes, two, compared) : 0);
        added.near1 = __builtin_popcountll(nearOne);
        added.near12 = __builtin_popcountll(added.nearAt);
        for (int i = 0; i < length; ++i)
            added.zero += int(zeroBit(bytes[i]));
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
