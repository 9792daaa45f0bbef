#pragma once
// Reading and writing the "UIStyle" and "FileTheme" properties of any skinned control by name,
// through the meta-object system, so code can restyle controls whose classes it does not know.

#include "skin/style/TsuiUIStyle.h"

#include <QByteArray>

#include <optional>

class QObject;
struct QMetaObject;
class TsuiFileTheme;

namespace vocafetch {

constexpr const char *UIStylePropertyName = "UIStyle";
constexpr const char *FileThemePropertyName = "FileTheme";

// Whether obj's class declares a property of that name (metaObject()->indexOfProperty).
bool HasMetaProperty(const QObject *obj, const char *name);
// Whether obj publishes both "FileTheme" and "UIStyle".
bool HasStyleProperties(const QObject *obj);

// The object's UIStyle; nothing when it has no such property or the value is no style.
std::optional<TsuiUIStyle> ReadUIStyleProperty(const QObject *obj);
// Writes UIStyle through the property's setter; false when obj has no writable UIStyle.
bool WriteUIStyleProperty(QObject *obj, TsuiUIStyle style);

// The object's FileTheme (nullptr when unset or without such a property).
TsuiFileTheme *ReadFileThemeProperty(const QObject *obj);
// Writes FileTheme (nullptr clears it); false when obj has no writable FileTheme.
bool WriteFileThemeProperty(QObject *obj, TsuiFileTheme *theme);

// Class name of obj without any namespace qualifier ("TsuiForm" for "skin::TsuiForm").
QByteArray UnqualifiedClassName(const QMetaObject *meta);
// Whether obj's class or one of its base classes is named name (namespaces ignored).
bool IsClassNamed(const QObject *obj, const char *name);

} // namespace vocafetch
