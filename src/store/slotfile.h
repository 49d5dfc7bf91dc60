#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QtGlobal>

// Slot files through the system's own calls. A slot file's name may be swapped for a link
// or a pipe by another user or program at any time: a read never follows a link nor waits
// on a pipe, and a save never writes through a link.
namespace SlotFile {

// A file opened for reading, only when it is a regular file: the check is made on the open
// file, so nothing can be swapped in between.
class Reader
{
public:
    explicit Reader(const QString &path);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    bool isOpen() const { return m_handle != Closed; }
    // Not opened because the name holds nothing, a link, a pipe, a folder or a device.
    bool isNotRegular() const { return m_notRegular; }
    // The size when the file was opened.
    qint64 size() const { return m_size; }
    // Reads up to maxSize bytes: the count read, 0 at the end, -1 on an error.
    qint64 read(char *data, qint64 maxSize);

private:
    static constexpr qintptr Closed = -1;
    qintptr m_handle = Closed;
    qint64 m_size = 0;
    bool m_notRegular = false;
};

// Replaces the file at path with bytes, or leaves it as it was: a temporary file in the
// same folder (".Qbox7.QBX.xxxxxx", a name start-up never reads), created exclusively and
// without following links, written, synced, then renamed over path. A rename replaces a
// link; it never follows one. On failure the temporary file is removed and `reason`
// receives the system's explanation. The folder is not synced here.
bool replace(const QString &path, const QByteArray &bytes, QString *reason);

// A temporary name taken by chance is tried again under another, this many times in all;
// any other error is final.
constexpr int TemporaryAttempts = 100;

// A fresh name for the temporary file that replaces path: beside it, hidden, six random
// letters or digits at its end.
inline QString temporaryPath(const QString &path)
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.left(slash + 1) + QLatin1Char('.') + path.mid(slash + 1) + QLatin1Char('.');
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)]);
    return name;
}

} // namespace SlotFile
