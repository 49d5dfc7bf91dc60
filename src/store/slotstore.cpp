#include "slotstore.h"

#include "logging.h"
#include "module1.h"
#include "store/codepage.h"
#include "store/fileattributes.h"
#include "store/slotfile.h"
#include "store/syncfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>

#include <algorithm>

namespace {

const QByteArray CrLf("\r\n");
const QByteArray Bom("\xEF\xBB\xBF");
const QString CrLfText = QStringLiteral("\r\n");

// Where the next CR LF starts at or after `from`, or -1. Searching for the LF alone
// runs at memchr's speed; the CR before it is checked by hand.
qsizetype indexOfCrLf(const QByteArray &bytes, qsizetype from)
{
    for (qsizetype lf = bytes.indexOf('\n', from + 1); lf >= 0; lf = bytes.indexOf('\n', lf + 1)) {
        if (bytes.at(lf - 1) == '\r')
            return lf - 1;
    }
    return -1;
}

// Reads the file's lines one at a time, each up to, not including, its line end: CR LF,
// or LF in a file that holds no CR at all, as an editor of this system writes one. In
// a file with CRs, a lone LF belongs to its line.
class LineCursor
{
public:
    LineCursor(const QByteArray &bytes, qsizetype start)
        : m_bytes(bytes), m_lfOnly(!bytes.contains('\r')), m_pos(start)
    {
    }

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    qsizetype pos() const { return m_pos; }

    // The next line as a [start, end) range; false when the file is exhausted.
    bool next(qsizetype *start, qsizetype *end)
    {
        if (atEnd())
            return false;
        const qsizetype eol = m_lfOnly ? m_bytes.indexOf('\n', m_pos) : indexOfCrLf(m_bytes, m_pos);
        *start = m_pos;
        *end = eol < 0 ? m_bytes.size() : eol;
        m_pos = eol < 0 ? m_bytes.size() : eol + endLength();
        return true;
    }

    // Whether the line that ends at `end` had its line end.
    bool endedAt(qsizetype end) const { return end + endLength() <= m_bytes.size(); }
    bool isLfOnly() const { return m_lfOnly; }

private:
    int endLength() const { return m_lfOnly ? 1 : 2; }

    const QByteArray &m_bytes;
    const bool m_lfOnly;
    qsizetype m_pos;
};

std::optional<qint32> parseInt32(QByteArrayView field)
{
    field = field.trimmed();
    if (field.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = QByteArray(field.data(), field.size()).toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

void parseHeader(QByteArrayView line, SlotRecord *record)
{
    const qsizetype comma = line.indexOf(',');
    if (comma < 0)
        return;
    const auto number = parseInt32(line.first(comma));
    const auto count = parseInt32(line.sliced(comma + 1));
    if (!number || !count)
        return;
    record->count = count;
    if (*number >= 1 && *number <= MaxSlots)
        record->number = qint16(*number);
}

void parseTitle(QByteArrayView line, SlotRecord *record)
{
    line = line.trimmed();
    if (!line.startsWith('"'))
        return;
    line = line.sliced(1);
    const qsizetype close = line.indexOf('"');
    record->title = CodePage::decode(QByteArray(line.data(), close < 0 ? line.size() : close));
}

// The count is narrowed to 16 bits before the body is read: a count that does not fit
// promises no line.
int linesToRead(qint32 count)
{
    return count >= 1 && count <= MaxBodyLines ? count : 0;
}

// Which bytes a file held, to tell a change by another program: its size and a hash.
// No security rests on it, and it costs little beside the read.
QByteArray fingerprintOf(const QByteArray &bytes)
{
    const quint64 parts[] = {quint64(bytes.size()), quint64(qHash(QByteArrayView(bytes), 1))};
    return QByteArray(reinterpret_cast<const char *>(parts), sizeof parts);
}

// Reads the file's start in blocks until the header and title lines are in, or
// MaxHeadBytes are. The blocks go straight into one buffer sized for the file: growing it
// block by block would cost more than the reads.
bool readHead(SlotFile::Reader &file, QByteArray *head)
{
    head->reserve(qMin(file.size(), MaxHeadBytes));
    qsizetype first = -1;
    while (head->size() < MaxHeadBytes) {
        const qsizetype before = head->size();
        const qint64 block = std::min({qint64(64 * 1024), MaxHeadBytes - before, qMax<qint64>(file.size() - before, 4096)});
        head->resize(before + block);
        const qint64 read = file.read(head->data() + before, block);
        head->resize(before + qMax<qint64>(read, 0));
        if (read < 0)
            return false;
        if (read == 0)
            break;
        // Only the new block is searched, from the byte before it for a CR LF astride.
        const qsizetype scanFrom = qMax<qsizetype>(0, before - 1);
        if (first < 0)
            first = indexOfCrLf(*head, scanFrom);
        if (first >= 0 && indexOfCrLf(*head, qMax(first + 2, scanFrom)) >= 0)
            break;
    }
    return true;
}

// The whole file, up to one byte past MaxSlotBytes: a file that grows while it is read is
// caught too.
bool readAll(SlotFile::Reader &file, QByteArray *bytes)
{
    bytes->resize(qMin(file.size(), MaxSlotBytes) + 1);
    qsizetype size = 0;
    while (size < bytes->size()) {
        const qint64 read = file.read(bytes->data() + size, bytes->size() - size);
        if (read < 0)
            return false;
        if (read == 0)
            break;
        size += read;
        if (size == bytes->size() && size <= MaxSlotBytes)
            bytes->resize(qMin(2 * size, MaxSlotBytes + 1));
    }
    bytes->resize(size);
    return true;
}

// Reads the bytes of a slot file, its head or the whole of it, into bytes; the record says
// whether the name held a regular file, whether it was read and whether it is too large.
// Nothing is parsed here.
SlotRecord readFile(const QString &path, bool withBody, QByteArray *bytes)
{
    SlotRecord record;
    SlotFile::Reader file(path);
    record.notRegular = file.isNotRegular();
    if (!file.isOpen())
        return record;
    record.tooLarge = withBody && file.size() > MaxSlotBytes;
    if (record.tooLarge || !(withBody ? readAll(file, bytes) : readHead(file, bytes)))
        return record;
    record.tooLarge = withBody && bytes->size() > MaxSlotBytes;
    record.opened = !record.tooLarge;
    return record;
}

SlotRecord readSlotFile(int n, bool withBody)
{
    QByteArray bytes;
    const SlotRecord read = readFile(SlotFilePath(n), withBody, &bytes);
    if (!read.opened)
        return read;
    SlotRecord record = Store::parseSlot(bytes, withBody);
    record.opened = true;
    if (withBody)
        record.fingerprint = fingerprintOf(bytes);
    return record;
}

// An installed copy's data folder is made at the first save, private to its user: start-up
// writes nothing.
bool makeFolderIfMissing(const QString &folder)
{
    if (QFileInfo::exists(folder))
        return true;
    const QString parent = QFileInfo(folder).absolutePath();
    return QDir().mkpath(parent)
           && QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Anything at all under the name, a link to nothing included.
bool nameTaken(const QFileInfo &info)
{
    return info.exists() || info.isSymLink();
}

WriteResult failed(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return WriteResult::Failed;
}

} // namespace

QString Store::storableTitle(const QString &title)
{
    QString storable = title;
    storable.remove(QLatin1Char('"'));
    // Removing one pair can join a CR and an LF into another.
    while (storable.contains(CrLfText))
        storable.remove(CrLfText);
    return storable;
}

QString PathWithSlash(const QString &folder)
{
    // Windows takes either slash; a drive's root, such as "C:\", already ends with one.
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}

QString SlotFilePath(int n)
{
    return PathWithSlash(AppFolder) + QStringLiteral("Qbox") + QString::number(n) + QStringLiteral(".QBX");
}

bool FileExists(const QString &path)
{
    return QFileInfo(path).isFile() && !FileAttributes::isHiddenOrSystem(path);
}

qint64 Store::lineCount(const QString &text)
{
    // As for the bytes: look for the LF, then check the CR before it.
    qint64 pairs = 0;
    for (qsizetype lf = text.indexOf(u'\n', 1); lf >= 0; lf = text.indexOf(u'\n', lf + 1)) {
        if (text.at(lf - 1) == u'\r')
            ++pairs;
    }
    return pairs + 1;
}

SlotRecord Store::parseSlot(const QByteArray &bytes, bool withBody)
{
    SlotRecord record;
    LineCursor lines(bytes, bytes.startsWith(Bom) ? Bom.size() : 0);
    qsizetype start = 0;
    qsizetype end = 0;

    if (lines.next(&start, &end))
        parseHeader(QByteArrayView(bytes).sliced(start, end - start), &record);
    if (lines.next(&start, &end))
        parseTitle(QByteArrayView(bytes).sliced(start, end - start), &record);
    if (!withBody)
        return record;

    // Every line read comes back followed by CR LF; decoding the whole run of lines
    // at once keeps a large body cheap. A header that does not parse promises no line,
    // as a damaged count.
    const int wanted = record.count ? linesToRead(*record.count) : 0;
    const qsizetype bodyStart = lines.pos();
    qsizetype read = 0;
    while (read < wanted && lines.next(&start, &end))
        ++read;
    record.missingLines = int(wanted - read);
    // Lines left over mean a damaged count: they are part of the text all the same.
    while (lines.next(&start, &end))
        ++read;
    if (read == 0)
        return record;
    const bool lastEnded = lines.endedAt(end);
    const qsizetype bodyEnd = lastEnded ? lines.pos() : end;
    record.text = CodePage::decode(QByteArray::fromRawData(bytes.constData() + bodyStart, bodyEnd - bodyStart));
    if (lines.isLfOnly())
        record.text.replace(QLatin1Char('\n'), CrLfText);
    if (!lastEnded)
        record.text += CrLfText;
    return record;
}

SlotRecord ReadSlotTitle(int n)
{
    return readSlotFile(n, false);
}

SlotRecord ReadSlot(int n)
{
    return readSlotFile(n, true);
}

WriteResult WriteSlot(int n, const QString &title, const QString &text, QString *reason)
{
    if (Store::storableTitle(title) != title)
        return WriteResult::InvalidTitle;
    const qint64 count = Store::lineCount(text);
    if (count > MaxBodyLines)
        return WriteResult::TooManyLines;
    const auto titleBytes = CodePage::encode(title);
    const auto textBytes = CodePage::encode(text);
    if (!titleBytes || !textBytes)
        return WriteResult::Unencodable;

    QByteArray bytes;
    bytes.reserve(titleBytes->size() + textBytes->size() + 32);
    bytes += QByteArray::number(n) + ',' + QByteArray::number(count) + CrLf;
    bytes += '"' + *titleBytes + '"' + CrLf;
    bytes += *textBytes;    // appended alone: `text + CrLf` would copy megabytes once more
    bytes += CrLf;

    // The new file replaces a regular file whole, or nothing. A link (to a file outside the
    // program folder), a folder, a pipe or a device in its place is not a message to replace;
    // one swapped in after this check is replaced by the rename, never written through.
    const QString path = SlotFilePath(n);
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return failed(reason, QStringLiteral("%1 n'est pas un fichier ordinaire.").arg(QDir::toNativeSeparators(path)));
    if (!makeFolderIfMissing(AppFolder))
        return failed(reason, QStringLiteral("Le dossier %1 ne peut pas être créé.").arg(QDir::toNativeSeparators(AppFolder)));
    QString why;
    if (!SlotFile::replace(path, bytes, &why))
        return failed(reason, why);
    // The renamed file survives a power cut only once its folder entry is on disk too. The
    // new file is in place by now: a folder that cannot be synced is no failed save.
    if (!Store::syncFolder(AppFolder))
        qCWarning(lcQuillbox, "cannot sync the folder %s after saving", qPrintable(QDir::toNativeSeparators(AppFolder)));
    return WriteResult::Ok;
}

bool DeleteSlot(int n)
{
    return QFile::remove(SlotFilePath(n));
}

int FirstFreeSlot()
{
    int n = 1;
    while (n < std::numeric_limits<qint16>::max() && nameTaken(QFileInfo(SlotFilePath(n))))
        ++n;
    return n;
}

QByteArray Store::slotFingerprint(int n)
{
    const QString path = SlotFilePath(n);
    if (!nameTaken(QFileInfo(path)))
        return {};
    QByteArray bytes;
    return readFile(path, true, &bytes).opened ? fingerprintOf(bytes) : QByteArray("?");
}
