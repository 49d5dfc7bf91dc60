// Writes arbitrary bytes to a slot file, reads it with both readers, saves what was read,
// and stops at the first broken promise. Slot files come from anywhere (other editors, hand
// edits, broken disks): reading one must neither crash nor hang, what it returns must be
// consistent, and what it read must save and read back unchanged.

#include "module1.h"
#include "store/codepage.h"
#include "store/slotstore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char *promise)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory: the save's flush to disk would cost most of the time.
    static QTemporaryDir scratch(QDir("/dev/shm").exists() ? "/dev/shm/quillbox-fuzz-XXXXXX" : QString());
    check(scratch.isValid(), "a scratch folder exists");
    AppFolder = QDir::toNativeSeparators(scratch.path());

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile input(SlotFilePath(1));
    check(input.open(QIODevice::WriteOnly) && input.write(bytes) == bytes.size() && input.flush(), "the input is written");
    const SlotRecord full = ReadSlot(1);
    const SlotRecord head = ReadSlotTitle(1);
    check(full.opened && head.opened && !full.notRegular && !full.tooLarge, "both readers open the file");
    check(Store::slotFingerprint(1) == full.fingerprint, "the fingerprint is the one of the bytes read");
    check(bytes.size() > MaxHeadBytes
              || (full.number == head.number && full.count == head.count && full.title == head.title),
          "the title reader agrees with the full read");
    check(head.text.isEmpty() && head.missingLines == 0, "the title reader reads no body");
    check(!full.number || (*full.number >= 1 && *full.number <= MaxSlots), "a stored number is a slot number");
    check(!full.title || Store::storableTitle(*full.title) == *full.title, "a title read can be stored");

    check(full.missingLines >= 0 && full.missingLines <= MaxBodyLines, "missing lines are within the count");
    check(full.count || full.missingLines == 0, "a header that does not parse promises no line");
    const auto again = CodePage::encode(CodePage::decode(bytes));
    check(again && *again == bytes, "the code page round-trips every byte");

    // A message read can be saved again and reads back the same, with its line count kept.
    if (!full.title || full.text.isEmpty())
        return 0;
    const QString text = full.text.chopped(2);
    const WriteResult written = WriteSlot(2, *full.title, text);
    check(written == (Store::lineCount(text) > MaxBodyLines ? WriteResult::TooManyLines : WriteResult::Ok), "a message read can be written back");
    if (written != WriteResult::Ok)
        return 0;
    const SlotRecord saved = ReadSlot(2);
    check(saved.number == 2 && saved.count == Store::lineCount(text), "a saved header reads back");
    check(saved.title == full.title && saved.text == full.text && saved.missingLines == 0,
          "a saved message reads back unchanged");
    check(QDir(AppFolder).entryList(QDir::Files | QDir::Hidden).size() == 2, "a save leaves no other file");
    check(DeleteSlot(2), "a saved slot file can be deleted");
    return 0;
}
