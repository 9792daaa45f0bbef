// Any --name template and any message fields to the file-name template: a template is refused
// with a reason or gives, for any fields, a name that is one safe path component: never empty,
// never "." or "..", no slash, no control character, no dot or dash in front, no half of a
// character (a kept raw byte aside), at most MaxTemplatedNameBytes bytes; made safe already (safe
// again it stays as it is); and a template without fields gives its own text made safe.
//
// Input: a flags byte (bit 0: a message; bit 1: a part of it; bit 2: a date, from the next 8
// bytes; bit 3: the texts are UTF-16 code units, any of them, instead of bytes of a name that
// may not be UTF-8), then the template, the chosen name, the number, the sender, the subject and
// the part's name, location and id, each as a length byte and that many bytes.
#include "FuzzSupport.h"

#include "extract/NameTemplate.h"
#include "extract/RawFileName.h"
#include "extract/SaveRun.h"

#include <cstdint>
#include <cstring>

using namespace vocafetch;

namespace {

class Reader
{
public:
    Reader(const uint8_t *bytes, size_t size, bool utf16)
        : m_bytes(bytes), m_size(size), m_utf16(utf16)
    {
    }

    quint8 byte() { return m_at < m_size ? m_bytes[m_at++] : 0; }

    qint64 number()
    {
        quint64 value = 0;
        for (int i = 0; i < 8; ++i)
            value = value << 8 | byte();
        return qint64(value);
    }

    QString text()
    {
        const size_t length = std::min<size_t>(byte(), m_size - m_at);
        const auto *start = reinterpret_cast<const char *>(m_bytes + m_at);
        m_at += length;
        if (!m_utf16)
            return nameFromBytes(QByteArray(start, qsizetype(length)));
        QString units(qsizetype(length / 2), Qt::Uninitialized);
        std::memcpy(units.data(), start, length / 2 * 2);
        return units;
    }

private:
    const uint8_t *m_bytes;
    size_t m_size;
    bool m_utf16;
    size_t m_at = 0;
};

bool isRawByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

void checkSafe(const QString &name)
{
    FUZZ_CHECK(!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String(".."));
    FUZZ_CHECK(!name.startsWith(u'.') && !name.startsWith(u'-'));
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        FUZZ_CHECK(c >= 0x20 && c != u'/' && !(c >= 0x7F && c <= 0x9F) && c != 0x2028 &&
                   c != 0x2029);
        if (QChar::isHighSurrogate(c)) {
            FUZZ_CHECK(i + 1 < name.size() && name[i + 1].isLowSurrogate());
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            FUZZ_CHECK(isRawByte(c));
        }
    }
    const QByteArray bytes = bytesFromName(name);
    FUZZ_CHECK(bytes.size() <= MaxTemplatedNameBytes);
    FUZZ_CHECK(!bytes.contains('/') && !bytes.contains('\0'));
    FUZZ_CHECK(safeFileName(name) == name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const quint8 flags = size > 0 ? bytes[0] : 0;
    Reader in(bytes, size, flags & 8);
    in.byte();
    MmsMessage message;
    MmsPart part;
    if (flags & 4)
        message.date = in.number();
    const QString text = in.text();
    RecordingNameFields fields;
    fields.name = in.text();
    fields.number = in.text();
    message.from = in.text();
    message.subject = in.text();
    part.name = in.text();
    part.location = in.text();
    part.contentId = in.text();
    fields.message = flags & 1 ? &message : nullptr;
    fields.part = flags & 2 ? &part : nullptr;

    QString problem;
    const std::optional<NameTemplate> names = NameTemplate::parse(text, problem);
    if (!names) {
        FUZZ_CHECK(!problem.isEmpty());
        return 0;
    }
    const QString name = names->expand(fields);
    checkSafe(name);
    if (!text.contains(u'{'))
        FUZZ_CHECK(name == safeFileName(text));
    // The name with its extension stays one component.
    const QString file = templatedFileName(*names, fields, OutputKind::whole());
    FUZZ_CHECK(file == name + QLatin1String(".amr"));
    FUZZ_CHECK(!bytesFromName(file).contains('/'));
    return 0;
}
