#include "skin/style/StyleProperties.h"

#include "skin/style/TsuiFileTheme.h"

#include <QMetaProperty>
#include <QVariant>

namespace vocafetch {

namespace {

QMetaProperty metaProperty(const QObject *obj, const char *name)
{
    if (!obj)
        return QMetaProperty();
    const QMetaObject *meta = obj->metaObject();
    const int index = meta->indexOfProperty(name);
    return index < 0 ? QMetaProperty() : meta->property(index);
}

} // namespace

bool HasMetaProperty(const QObject *obj, const char *name)
{
    return metaProperty(obj, name).isValid();
}

bool HasStyleProperties(const QObject *obj)
{
    return HasMetaProperty(obj, FileThemePropertyName) && HasMetaProperty(obj, UIStylePropertyName);
}

std::optional<TsuiUIStyle> ReadUIStyleProperty(const QObject *obj)
{
    const QMetaProperty prop = metaProperty(obj, UIStylePropertyName);
    if (!prop.isValid())
        return std::nullopt;
    const QVariant value = prop.read(obj);
    if (value.metaType() == QMetaType::fromType<TsuiUIStyle>())
        return value.value<TsuiUIStyle>();
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < 0 || number > 0xFF)
        return std::nullopt;
    return static_cast<TsuiUIStyle>(number);
}

bool WriteUIStyleProperty(QObject *obj, TsuiUIStyle style)
{
    const QMetaProperty prop = metaProperty(obj, UIStylePropertyName);
    if (!prop.isValid() || !prop.isWritable())
        return false;
    if (prop.metaType() == QMetaType::fromType<TsuiUIStyle>())
        return prop.write(obj, QVariant::fromValue(style));
    return prop.write(obj, QVariant(int(style)));
}

TsuiFileTheme *ReadFileThemeProperty(const QObject *obj)
{
    const QMetaProperty prop = metaProperty(obj, FileThemePropertyName);
    if (!prop.isValid())
        return nullptr;
    return qobject_cast<TsuiFileTheme *>(prop.read(obj).value<QObject *>());
}

bool WriteFileThemeProperty(QObject *obj, TsuiFileTheme *theme)
{
    const QMetaProperty prop = metaProperty(obj, FileThemePropertyName);
    if (!prop.isValid() || !prop.isWritable())
        return false;
    return prop.write(obj, QVariant::fromValue(theme));
}

QByteArray UnqualifiedClassName(const QMetaObject *meta)
{
    if (!meta)
        return QByteArray();
    const QByteArray name(meta->className());
    const int colon = name.lastIndexOf("::");
    return colon < 0 ? name : name.mid(colon + 2);
}

bool IsClassNamed(const QObject *obj, const char *name)
{
    if (!obj)
        return false;
    for (const QMetaObject *meta = obj->metaObject(); meta; meta = meta->superClass()) {
        if (UnqualifiedClassName(meta) == name)
            return true;
    }
    return false;
}

} // namespace vocafetch
