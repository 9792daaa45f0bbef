#pragma once
// The fixture of the vocafetch-cli tests: runs the built program in a fresh temporary directory
// and reads and writes the files there.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vocafetch {

struct CliRun
{
    int exitCode = -1; // -1 when the program crashed or did not finish
    QByteArray out;
    QString err;

    QString outText() const { return QString::fromUtf8(out); }
};

// The recordings of the first container in a `list --json` output.
inline QJsonArray listedRecordings(const QByteArray &json)
{
    return QJsonDocument::fromJson(json)
        .object()
        .value("containers")
        .toArray()
        .at(0)
        .toObject()
        .value("recordings")
        .toArray();
}

class CliFixture : public ::testing::Test
{
protected:
    CliRun run(const QStringList &arguments)
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(VOCAFETCH_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        CliRun result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
};

} // namespace vocafetch
