#include "slotfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SlotFile {

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

bool failedWith(int error, QString *reason)
{
    *reason = qt_error_string(error);
    return false;
}

// Writes all of bytes: 0, or the system's error. A short count (disk full, size limit) is
// followed by another write, which then fails with the reason.
int writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        data += written;
        left -= written;
    }
    return 0;
}

} // namespace

Reader::Reader(const QString &path)
{
    // No wait on a pipe that has no writer, no link followed; then only a regular file
    // is kept, as the open descriptor shows it.
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        m_notRegular = errno == ENOENT || errno == ELOOP || errno == ENXIO || errno == ENOTDIR;
        return;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_notRegular = true;
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_handle = fd;
    m_size = status.st_size;
}

Reader::~Reader()
{
    if (isOpen())
        ::close(int(m_handle));
}

qint64 Reader::read(char *data, qint64 maxSize)
{
    for (;;) {
        const ssize_t count = ::read(int(m_handle), data, size_t(maxSize));
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

bool replace(const QString &path, const QByteArray &bytes, QString *reason)
{
    // A file replaced keeps its permissions, given to the temporary file once it is written
    // (its owner's alone until then); a new one gets what the umask leaves.
    struct stat old {};
    const bool replacing = ::lstat(encoded(path).constData(), &old) == 0 && S_ISREG(old.st_mode);

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < TemporaryAttempts; ++attempt) {
        temporary = encoded(temporaryPath(path));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return failedWith(errno, reason);
    }
    if (fd < 0)
        return failedWith(EEXIST, reason);

    int error = writeAll(fd, bytes);
    if (error == 0 && replacing && ::fchmod(fd, old.st_mode & 0777) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), encoded(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return failedWith(error, reason);
    }
    return true;
}

} // namespace SlotFile
