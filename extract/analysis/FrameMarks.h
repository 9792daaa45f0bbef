#pragma once

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace vocafetch {

// The frame starts that walks of one band have passed, a bit an offset from a base on: a walk
// that reaches one goes on as the walk that passed it did, so it need not go far. The base
// moves up with the search, which never looks back, so the bits cover only the frames ahead.

class FrameMarks
{
public:
    // Forgets every mark; offsets from base on can be marked. Keeps the memory, clearing only
    // the words marks went into.
    void reset(qint64 base)
    {
        std::fill(m_words.begin(), m_words.begin() + qsizetype(m_used), 0);
        m_used = 0;
        m_base = base;
    }

    // Forgets the marks before pos (pos never goes down).
    void advance(qint64 pos)
    {
        const qint64 passed = (pos - m_base) / 64;
        if (passed <= 0)
            return;
        if (size_t(passed) >= m_used) {
            reset(m_base + passed * 64);
            return;
        }
        // Moved down once half the used words lie behind: each word moves once on average.
        if (size_t(passed) * 2 < m_used)
            return;
        std::copy(m_words.begin() + passed, m_words.begin() + qsizetype(m_used), m_words.begin());
        std::fill(m_words.begin() + qsizetype(m_used) - passed, m_words.begin() + qsizetype(m_used),
                  0);
        m_used -= size_t(passed);
        m_base += passed * 64;
    }

    bool test(qint64 pos) const
    {
        const quint64 at = quint64(pos - m_base);
        return pos >= m_base && at / 64 < m_used &&
               (m_words[size_t(at / 64)] >> (at % 64) & 1) != 0;
    }

    void set(qint64 pos)
    {
        if (pos < m_base)
            return;
        const quint64 at = quint64(pos - m_base);
        if (at / 64 >= m_words.size())
            m_words.resize(std::max<size_t>(size_t(at / 64) + 1, m_words.size() * 2), 0);
        m_words[size_t(at / 64)] |= quint64(1) << (at % 64);
        m_used = std::max(m_used, size_t(at / 64) + 1);
    }

private:
    qint64 m_base = 0;
    std::vector<quint64> m_words;
    size_t m_used = 0; // words from here on are zero
};

} // namespace vocafetch
