#include "phone/PhoneFileName.h"

namespace vocafetch {

namespace {

bool hasControlCharacter(const QByteArray &name)
{
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            return true;
    }
    return false;
}

bool startsWithDriveLetter(const QByteArray &name)
{
    return name.size() >= 2 && name[1] == ':' && QChar::isLetter(static_cast<uchar>(name[0]));
}

bool hasUnsafeComponent(const QByteArray &name)
{
    for (qsizetype begin = 0; begin <= name.size();) {
        qsizetype end = name.indexOf('/', begin);
        if (end < 0)
            end = name.size();
        const QByteArrayView component(name.constData() + begin, end - begin);
        if (component.isEmpty() || component == "." || component == "..")
            return true;
        begin = end + 1;
    }
    return false;
}

} // namespace

bool isSafePhoneName(const QByteArray &name)
{
    return !name.isEmpty() && !name.contains('\\') && !hasControlCharacter(name) &&
           !startsWithDriveLetter(name) && !hasUnsafeComponent(name);
}

QString numberedFileName(const QString &fileName, int number)
{
    const QString suffix = QStringLiteral(" (%1)").arg(number);
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return fileName + suffix;
    return fileName.left(dot) + suffix + fileName.mid(dot);
}

QString saveDialogPreset(const QString &name)
{
    const QString fileName = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    return fileName.left(qMax<qsizetype>(0, fileName.size() - 4));
}

QString pathBelow(const QString &dir, const QString &relative)
{
    return dir.endsWith(QLatin1Char('/')) ? dir + relative : dir + QLatin1Char('/') + relative;
}

} // namespace vocafetch
