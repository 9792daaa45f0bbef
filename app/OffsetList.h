#pragma once
// A read-only list of a container's offsets as the window's hidden lists show them (decimal
// text by index), kept as the numbers: millions of recordings cost no string each.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vocafetch {

class OffsetList
{
public:
    OffsetList() = default;
    // Shares offsets' storage: no copy is made.
    explicit OffsetList(QVector<qint64> offsets) : m_offsets(std::move(offsets)) {}

    qsizetype size() const { return m_offsets.size(); }
    qsizetype count() const { return m_offsets.size(); }
    bool isEmpty() const { return m_offsets.isEmpty(); }
    // The decimal text of offset i ("0", "5", ...); i must be an index of the list.
    QString at(qsizetype i) const { return QString::number(m_offsets.at(i)); }
    void clear() { m_offsets.clear(); }
    QStringList toStringList() const;

    friend bool operator==(const OffsetList &list, const QStringList &texts);
    friend bool operator==(const QStringList &texts, const OffsetList &list)
    {
        return list == texts;
    }

private:
    QVector<qint64> m_offsets;
};

} // namespace vocafetch
