// Feeds arbitrary bytes to the slot-file parser and to the readers and writer around it,
// and stops at the first broken promise. Slot files come from anywhere (the old program,
// hand edits, broken disks): whatever they hold, reading one must neither crash nor hang,
// and what it returns must be consistent.

#include "module1.h"
#include "store/codepage.h"
#include "store/slotstore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString CrLf = QStringLiteral("\r\n");

void check(bool condition, const char *promise)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

bool sameHead(const SlotRecord &a, const SlotRecord &b)
{
    return a.number == b.number && a.count == b.count && a.title == b.title;
}

bool sameRecord(const SlotRecord &a, const SlotRecord &b)
{
    return sameHead(a, b) && a.text == b.text && a.missingLines == b.missingLines;
}

// The lines a count asks for: a count that does not fit the 16-bit narrowing reads none.
int wantedLines(const SlotRecord &record)
{
    if (!record.count || *record.count < 1 || *record.count > MaxBodyLines)
        return 0;
    return *record.count;
}

void checkParse(const QByteArray &bytes, const SlotRecord &full, const SlotRecord &head)
{
    check(sameHead(full, head), "the title-only parse agrees with the full parse");
    check(head.text.isEmpty() && head.missingLines == 0, "the title-only parse reads no body");
    check(!full.opened && !head.opened, "the parser alone opens no file");

    check(!full.number || (*full.number >= 1 && *full.number <= MaxSlots), "a stored number is a slot number");
    check(!full.number || full.count, "a stored number comes with its count");
    if (full.title)
        check(!full.title->contains(QLatin1Char('"')), "a title never holds a double quote");

    check(full.text.isEmpty() || full.text.endsWith(CrLf), "a non-empty text ends with CR LF");
    const int wanted = wantedLines(full);
    check(full.missingLines >= 0 && full.missingLines <= wanted, "missing lines are within the count");
    check(full.text.count(CrLf) == wanted - full.missingLines, "the text holds one CR LF per line read");
    check(full.text.isEmpty() == (wanted == full.missingLines), "a text is empty only when no line was read");
    check(full.text.size() <= bytes.size() + 2, "the text is no longer than the file");

    // Every byte decodes to a character that encodes back to it.
    const auto again = CodePage::encode(CodePage::decode(bytes));
    check(again && *again == bytes, "the code page round-trips every byte");
    check(CodePage::encode(full.text).has_value(), "a text read can be written back");
}

void writeSlotFile(int n, const QByteArray &bytes)
{
    QFile file(SlotFilePath(n));
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the scratch slot file opens");
    check(file.write(bytes) == bytes.size(), "the scratch slot file is written");
}

// The readers see the same bytes through a file as the parser does.
void checkReaders(const QByteArray &bytes, const SlotRecord &full, const SlotRecord &head)
{
    writeSlotFile(1, bytes);
    const SlotRecord read = ReadSlot(1);
    const SlotRecord title = ReadSlotTitle(1);
    check(read.opened && title.opened, "the readers open an existing file");
    check(sameRecord(read, full), "ReadSlot returns what the parser finds");
    check(sameRecord(title, head), "ReadSlotTitle returns what the title-only parse finds");
}

// A message read can be saved again and reads back the same, with its line count kept.
void checkRewrite(const SlotRecord &full)
{
    if (!full.title || full.text.isEmpty())
        return;
    const QString text = full.text.chopped(2);
    const WriteResult result = WriteSlot(2, *full.title, text);
    if (full.title->contains(QLatin1Char('\r')) || full.title->contains(QLatin1Char('\n'))) {
        check(result == WriteResult::InvalidTitle, "a title with a line break is refused");
        return;
    }
    check(result == WriteResult::Ok, "a message read can be written back");
    const SlotRecord again = ReadSlot(2);
    check(again.number == 2 && again.count == LineCount(text), "a saved header reads back");
    check(again.title == full.title && again.text == full.text && again.missingLines == 0,
          "a saved message reads back unchanged");
    check(QDir(AppFolder).entryList(QDir::Files | QDir::Hidden).size() == 2, "a save leaves no other file");
    check(DeleteSlot(2), "a saved slot file can be deleted");
}

// In memory where the system has it: the save's flush to disk would cost most of the time.
QString scratchTemplate()
{
    const QString memory = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    return base + QStringLiteral("/quillbox-fuzz-XXXXXX");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir scratch(scratchTemplate());
    if (AppFolder.isEmpty()) {
        check(scratch.isValid(), "a scratch folder exists");
        AppFolder = QDir::toNativeSeparators(scratch.path());
    }

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const SlotRecord full = ParseSlot(bytes, true);
    const SlotRecord head = ParseSlot(bytes, false);
    checkParse(bytes, full, head);
    checkReaders(bytes, full, head);
    checkRewrite(full);
    return 0;
}
