#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <mutex>

// Standard output and error shared by the workers, with a progress line on the terminal:
// bytes looked at of the total, files written and the rate. The line is drawn on stderr only
// when stderr is a terminal and progress was asked for, and is cleared before anything else is
// written, so it never mixes with the listing.
class Console
{
public:
    Console(std::FILE *out, std::FILE *err, bool showProgress);
    ~Console();
    Console(const Console &) = delete;
    Console &operator=(const Console &) = delete;

    void writeOut(const QByteArray &text);
    void writeErr(const QByteArray &text);
    // "vocafetch-cli: PATH: MESSAGE" on stderr; the path shown with its undecodable bytes
    // replaced.
    void reportError(const QString &path, const QString &message);

    void setTotal(qint64 bytes);
    // Adds to the bytes looked at and the files written; redrawn at most ten times a second.
    void advance(qint64 bytes, int files = 0);
    void clearProgress();

private:
    void drawLocked(bool force);
    void clearLocked();

    std::FILE *m_out;
    std::FILE *m_err;
    bool m_progress;
    std::mutex m_mutex;
    qint64 m_total = 0;
    qint64 m_done = 0;
    int m_files = 0;
    bool m_shown = false;
    QElapsedTimer m_clock;
    qint64 m_lastDraw = -1000;
};
