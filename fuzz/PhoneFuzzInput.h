// The input format of the phone-list fuzz target, shared with the seed writer: what a phone's
// file list says and what its files hold.
//
//   byte 0: bit 0 set = the phone is not ready; bits 1-2 = how File_Count lies:
//           0 truthfully, 1 one entry more, 2 one fewer, 3 a hostile count (next byte picks it)
//   then entries, each: flags (bit 0: the path gets the phone folder in front; bits 1-3: how
//   Size relates to the content; bit 4: the path's last byte repeats to fill the whole field),
//   path length, path bytes, content length, content bytes.
#pragma once

#include <QByteArray>
#include <QList>

#include <climits>

namespace vocafetch {

namespace PhoneFuzzInput {

inline constexpr char Folder[] = "/a/mobile/mms/";

enum SizeRule
{
    SizeOfContent = 0,
    SizeLarger = 1,  // the phone serves less than it lists
    SizeSmaller = 2, // ... or more
    SizeZero = 3,
    SizeMinusOne = 4,
    SizeMinimum = 5,
    SizeFarLarger = 6, // 4 KiB, more than any content: a buffer sized by the list alone
    SizeOfContentToo = 7,
};

// File_Count answers for lying mode 3.
inline constexpr int HostileCounts[] = {-1, INT_MIN, 0, 64, (1 << 20) + 1, INT_MAX, 3, 300};

struct Entry
{
    bool inFolder = true;
    bool fillField = false;
    int sizeRule = SizeOfContent;
    QByteArray path; // after the phone folder when inFolder
    QByteArray content;
};

struct Phone
{
    bool notReady = false;
    int countLie = 0;
    int hostileIndex = 0; // into HostileCounts, for lying mode 3
    QList<Entry> entries;

    int hostileCount() const
    {
        return HostileCounts[hostileIndex % int(sizeof(HostileCounts) / sizeof(int))];
    }
};

inline Phone decode(const QByteArray &input)
{
    Phone phone;
    qsizetype pos = 0;
    auto next = [&]() -> quint8 { return pos < input.size() ? quint8(input[pos++]) : 0; };
    auto take = [&](int n) {
        const QByteArray part = input.mid(pos, n);
        pos += part.size();
        return part;
    };
    const quint8 mode = next();
    phone.notReady = mode & 1;
    phone.countLie = (mode >> 1) & 3;
    if (phone.countLie == 3)
        phone.hostileIndex = next();
    while (pos < input.size()) {
        Entry entry;
        const quint8 flags = next();
        entry.inFolder = flags & 1;
        entry.sizeRule = (flags >> 1) & 7;
        entry.fillField = flags & 0x10;
        entry.path = take(next());
        entry.content = take(next());
        phone.entries << entry;
    }
    return phone;
}

inline QByteArray encode(const Phone &phone)
{
    QByteArray out;
    out += char((phone.notReady ? 1 : 0) | (phone.countLie << 1));
    if (phone.countLie == 3)
        out += char(phone.hostileIndex);
    for (const Entry &entry : phone.entries) {
        out +=
            char((entry.inFolder ? 1 : 0) | (entry.sizeRule << 1) | (entry.fillField ? 0x10 : 0));
        out += char(qMin<qsizetype>(entry.path.size(), 255));
        out += entry.path.left(255);
        out += char(qMin<qsizetype>(entry.content.size(), 255));
        out += entry.content.left(255);
    }
    return out;
}

} // namespace PhoneFuzzInput

} // namespace vocafetch
