#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// The message store: one slot file per message, QboxN.QBX in AppFolder.
//
// A slot file holds, each line ended by CR LF and in the 8-bit code page:
//   n,count          the message number and the body's line count
//   "title"          the title between double quotes, no escape
//   count lines      the body
// The readers never fail as a whole: they return what they could read and say
// what they could not, so that callers can skip the failing steps.

// What a reader found in one slot file.
struct SlotRecord
{
    bool opened = false;                // the file could be opened and read
    bool notRegular = false;            // not opened: the name holds no regular file (or nothing)
    bool tooLarge = false;              // ReadSlot: not read, the file is above MaxSlotBytes
    std::optional<qint16> number;       // the stored number, when it is a slot number
    std::optional<qint32> count;        // the stored line count, when the header parsed
    std::optional<QString> title;       // the title record, when present
    QString text;                       // the body lines read, each followed by CR LF
    int missingLines = 0;               // body lines the count promised but the file lacks
    QByteArray fingerprint;             // ReadSlot: a hash of the bytes read (Store::slotFingerprint)

    // Start-up and the grid need a number and a title to show a slot as its writer meant.
    bool isWellFormed() const { return number.has_value() && title.has_value(); }
};

enum class WriteResult {
    Ok,
    Failed,         // the file could not be created or written; the old one is intact
    Unencodable,    // the title or the text holds a character the code page lacks
    TooManyLines,   // the text has more lines than a slot file can be read back with
    InvalidTitle,   // the title holds a double quote or a line break
};

// The largest line count a slot file can be read back with (16-bit count).
constexpr qint32 MaxBodyLines = 32767;

// ReadSlot reads no file above this size: a message of 32767 long lines takes a few
// megabytes. The lowest limit that leaves room for any message: Qt takes some 15 s to lay a
// single line of this size out, and its layout overflows on one twenty times longer.
constexpr qint64 MaxSlotBytes = 16 << 20;

// ReadSlotTitle reads no further into a file: enough for a title of 1 MiB and its header,
// so that a huge file that is no slot file (a disk image, a log) costs start-up nothing.
constexpr qint64 MaxHeadBytes = (1 << 20) + 4096;

QString PathWithSlash(const QString &folder);
QString SlotFilePath(int n);
bool FileExists(const QString &path);

// The readers open a regular file only, without following a link or waiting on a pipe;
// anything else reads as absent (notRegular).
// The title and the header only, from the first MaxHeadBytes of the file.
SlotRecord ReadSlotTitle(int n);
// When the count disagrees with the lines after the title (fewer counted than present,
// or a count no 16-bit number holds), or the header does not parse, the body is every line
// after the title: a damaged header loses no line. A file above MaxSlotBytes is not read
// (tooLarge).
SlotRecord ReadSlot(int n);
// On Failed, `reason` receives the system's explanation.
WriteResult WriteSlot(int n, const QString &title, const QString &text, QString *reason = nullptr);
bool DeleteSlot(int n);
// The lowest number whose name nothing occupies: no file, folder or link of any kind.
int FirstFreeSlot();

// The store's own helpers.
namespace Store {

// The title record sits between double quotes on one line and has no escape: a title
// cannot hold a double quote or a CR LF pair. This is the title without them.
QString storableTitle(const QString &title);

// The body editor's line count: CR LF pairs plus one.
qint64 lineCount(const QString &text);

// What the slot's name holds now, to tell whether another program changed it: empty when
// nothing is there, else a hash of the file's bytes (ReadSlot's fingerprint), or a mark
// that matches no hash when it cannot be read or is above MaxSlotBytes.
QByteArray slotFingerprint(int n);

// The parser behind the readers, on the bytes of a whole file (or of its head). A UTF-8
// byte order mark before the header, as some editors write one, is skipped.
SlotRecord parseSlot(const QByteArray &bytes, bool withBody);

} // namespace Store
