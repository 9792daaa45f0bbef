#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// Small file helpers shared by the extraction tests.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
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
