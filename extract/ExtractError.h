#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <new>

namespace vocafetch {

// What went wrong, for front ends that react to a failure (skip a recording, word a message in
// the window's language) without reading its text.
enum class ErrorKind
{
    Other,
    OutOfBounds,      // a recording, list entry or selection outside what was scanned
    NotReadable,      // a container is missing, a folder, not a regular file or unreadable
    CannotOpen,       // a container cannot be opened or read
    TooLarge,         // a container too large to load into memory
    CannotCreate,     // an output file cannot be created or written
    ContainerChanged, // the container changed while it was read
    Undecodable,      // a recording's audio cannot be decoded (unknown header, too long)
    NothingToConvert, // a recording holds no audio frame to decode
    Clipboard,        // the byte buffers' clipboard refused an operation
};

// The one failure type of the extraction core. Every operation that fails throws an
// ExtractError carrying the exact message the user is shown (e.g. "Invalid selection start"), on
// one line, and its kind; path and reason are the file and the system's words where a file is
// concerned. message() gives the text as QString; what() gives the same text in UTF-8.
class ExtractError : public std::exception
{
public:
    explicit ExtractError(const QString &message,
                          vocafetch::ErrorKind kind = vocafetch::ErrorKind::Other,
                          const QString &path = QString(), const QString &reason = QString());

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }
    vocafetch::ErrorKind kind() const noexcept { return m_kind; }
    const QString &path() const noexcept { return m_path; }
    const QString &reason() const noexcept { return m_reason; }
    // The number (from 1) of the recording the failure concerns; 0 when it concerns none.
    int recording() const noexcept { return m_recording; }
    ExtractError &forRecording(int number) noexcept
    {
        m_recording = number;
        return *this;
    }

private:
    QString m_message;
    QByteArray m_utf8;
    vocafetch::ErrorKind m_kind;
    QString m_path;
    QString m_reason;
    int m_recording = 0;
};

// Runs work and gives the message of the failure that stopped it (an ExtractError's, or "out
// of memory"), or an empty string when it did not fail: for front ends that report a failure
// per container and go on with the next.
template <class Work> QString failureOf(Work &&work)
{
    try {
        work();
        return {};
    } catch (const ExtractError &error) {
        return error.message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("out of memory");
    }
}

} // namespace vocafetch
