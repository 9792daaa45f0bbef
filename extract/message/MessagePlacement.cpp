#include "extract/message/MessagePlacement.h"

#include "extract/message/MmsReader.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <numeric>

namespace vocafetch {

namespace {

// Candidates read per recording, nearest first: more stand between a recording and the start
// of its message only in crafted bytes.
constexpr int MaxCandidatesPerRecording = 32;
constexpr char MessageTypeField = char(0x8C);

// The offsets in a stretch of the bytes where a PDU could begin. As recordings come in
// ascending order the stretch only moves forward, so every byte is looked at once.
class CandidateStretch
{
public:
    CandidateStretch(const char *data, qint64 size) : m_data(data), m_size(size) {}

    // Makes the stretch [from, to); false when it had to start afresh (it moved back).
    bool moveTo(qint64 from, qint64 to)
    {
        bool kept = true;
        if (from < m_from || to < m_scanned) {
            m_candidates.clear();
            m_scanned = from;
            kept = false;
        }
        m_from = from;
        scan(std::max(m_scanned, from), to);
        m_scanned = std::max(m_scanned, to);
        while (!m_candidates.empty() && m_candidates.front() < from)
            m_candidates.pop_front();
        return kept;
    }

    const std::deque<qint64> &candidates() const { return m_candidates; }

private:
    void scan(qint64 from, qint64 to)
    {
        while (from < to) {
            const void *hit = std::memchr(m_data + from, MessageTypeField, size_t(to - from));
            if (hit == nullptr)
                return;
            const qint64 at = qint64(static_cast<const char *>(hit) - m_data);
            if (looksLikeMmsStart(m_data, m_size, at))
                m_candidates.push_back(at);
            from = at + 1;
        }
    }

    const char *m_data;
    qint64 m_size;
    qint64 m_from = 0;
    qint64 m_scanned = 0;
    std::deque<qint64> m_candidates;
};

// Orders the messages by offset and renumbers the recordings' references to them.
void sortByOffset(MessagePlacement &placement)
{
    QVector<int> order(placement.messages.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return placement.messages[a].offset < placement.messages[b].offset;
    });
    QVector<int> newIndex(order.size());
    QVector<MmsMessage> sorted;
    sorted.reserve(order.size());
    for (int i = 0; i < order.size(); ++i) {
        newIndex[order[i]] = i;
        sorted << placement.messages[order[i]];
    }
    placement.messages = sorted;
    for (RecordingMessage &recording : placement.recordings)
        if (recording.message >= 0)
            recording.message = newIndex[recording.message];
}

class Placer
{
public:
    Placer(const char *data, qint64 size, qint64 base)
        : m_data(data), m_size(size), m_base(base), m_stretch(data, size)
    {
        if (base == 0)
            m_own = readMmsStructure(data, size, 0, 0);
        if (m_own)
            m_result.messages << *m_own;
    }

    RecordingMessage place(qint64 recording)
    {
        const qint64 local = recording - m_base;
        if (local < 0 || local >= m_size)
            return {};
        if (m_own) {
            const int part = m_own->partHolding(recording);
            if (part >= 0)
                return {0, part};
        }
        if (auto found = nearbyMessage(local))
            return *found;
        if (m_own && ownBodyBrokeBefore(recording))
            return {0, -1};
        return {};
    }

    MessagePlacement result(const QVector<RecordingMessage> &recordings)
    {
        m_result.recordings = recordings;
        sortByOffset(m_result);
        for (MmsMessage &message : m_result.messages)
            decodeMessageText(message, m_data, m_size, m_base);
        return m_result;
    }

private:
    std::optional<RecordingMessage> nearbyMessage(qint64 local)
    {
        const qint64 from = std::max<qint64>(0, local - MaxMessageDistance);
        if (!m_stretch.moveTo(from, local))
            m_candidates.clear();
        m_candidates.erase(m_candidates.begin(), m_candidates.lower_bound(from));

        const std::deque<qint64> &offsets = m_stretch.candidates();
        int tried = 0;
        for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
            if (*it == 0 && m_own)
                continue; // read already, as the container's own message
            if (tried++ == MaxCandidatesPerRecording)
                break;
            auto entry = m_candidates.find(*it);
            if (entry == m_candidates.end()) {
                if (m_budget <= 0)
                    break;
                entry = m_candidates.emplace(*it, readCandidate(*it)).first;
            }
            // A body of one part reaches to the end of the bytes: only the container's own
            // message may have one, or it would hold whatever follows it.
            const std::optional<MmsMessage> &candidate = entry->second;
            const int part = candidate && isMultipartType(candidate->contentType)
                                 ? candidate->partHolding(m_base + local)
                                 : -1;
            if (part < 0)
                continue;
            auto recognised = m_recognised.find(*it);
            if (recognised == m_recognised.end()) {
                recognised = m_recognised.emplace(*it, m_result.messages.size()).first;
                m_result.messages << *candidate;
            }
            return RecordingMessage{recognised->second, part};
        }
        return std::nullopt;
    }

    // Reads the PDU at a candidate, charging the bytes its reading may have looked at: the
    // headers read, a text value looked for past them, and each part's headers.
    std::optional<MmsMessage> readCandidate(qint64 local)
    {
        std::optional<MmsMessage> message = readMmsStructure(m_data, m_size, local, m_base);
        m_budget -= MaxMmsTextValueBytes;
        if (!message)
            return message;
        m_budget +=
            message->offset - (message->bodyOffset >= 0 ? message->bodyOffset : message->end);
        for (const MmsPart &part : qAsConst(message->parts))
            m_budget -= part.dataOffset - part.headerOffset;
        return message;
    }

    // The container's own body stopped being readable before recording.
    bool ownBodyBrokeBefore(qint64 recording) const
    {
        return m_own->bodyOffset >= 0 && !m_own->problem.isEmpty() && recording >= m_own->end;
    }

    const char *m_data;
    qint64 m_size;
    qint64 m_base;
    // What candidates may cost in all: a few times the bytes, so that no arrangement of bytes
    // makes the reading of PDUs outgrow the search for them.
    qint64 m_budget = 4 * m_size + 16 * MaxMmsHeaderBytes;
    CandidateStretch m_stretch;
    std::optional<MmsMessage> m_own;
    // The PDUs read in the stretch, each read once however many recordings ask about it.
    std::map<qint64, std::optional<MmsMessage>> m_candidates;
    // Where the messages recognised so far are in the placement's messages.
    std::map<qint64, int> m_recognised;
    MessagePlacement m_result;
};

} // namespace

MessagePlacement placeMessages(const char *data, qint64 size, const QVector<qint64> &recordings,
                               qint64 base)
{
    Placer placer(data, size, base);
    QVector<RecordingMessage> placed;
    placed.reserve(recordings.size());
    for (qint64 recording : recordings)
        placed << placer.place(recording);
    return placer.result(placed);
}

} // namespace vocafetch
