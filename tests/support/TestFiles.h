#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vocafetch {

// Small file helpers shared by the tests.
// Writes bytes to path, creating its folders.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// Everything below dir, hidden files included, as sorted relative paths.
inline QStringList tree(const QString &dir)
{
    QStringList paths;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(dir).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

// n bytes that contain neither '#' nor 0x06, so no signature appears by accident.
inline QByteArray filler(int n, char c = 'x')
{
    return QByteArray(n, c);
}

// Overwrites part of data with bytes at offset.
inline void place(QByteArray &data, int offset, const QByteArray &bytes)
{
    data.replace(offset, bytes.size(), bytes);
}

#define EXPECT_THROW_MESSAGE(statement, expected)                                                  \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no exception, expected: " << QString(expected).toStdString();        \
        } catch (const ExtractError &error) {                                                      \
            EXPECT_EQ(error.message().toStdString(), QString(expected).toStdString());             \
        }                                                                                          \
    } while (false)

// A test's own folder, where each container() call writes a new container file.
class ContainerFolderTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QString container(const QByteArray &bytes)
    {
        const QString file = path(QStringLiteral("c%1.drf").arg(++containers));
        writeFile(file, bytes);
        return file;
    }

    QTemporaryDir dir;
    int containers = 0;
};

} // namespace vocafetch
