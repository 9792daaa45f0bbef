#include "app/OffsetList.h"

#include <algorithm>

namespace vocafetch {

QStringList OffsetList::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        texts.append(at(i));
    return texts;
}

bool operator==(const OffsetList &list, const QStringList &texts)
{
    if (list.size() != texts.size())
        return false;
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list.at(i) != texts.at(i))
            return false;
    }
    return true;
}

} // namespace vocafetch
