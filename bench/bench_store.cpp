// Large messages, in process: WriteSlot and ReadSlot throughput for a 32767-line body,
// and the time from a grid click to a filled display box for it; and the cost of saving
// a small message, where syncing the file and its folder dominates.
//
// The store works in AppFolder, which the window takes from the executable's folder, so
// this program writes Qbox1.QBX next to itself: run a copy in a scratch folder (bench/run
// does). The slot file is removed again at the end.
//
// Output, one figure a line: key=value, medians over the runs.

#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "store/slotstore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int BodyLines = MaxBodyLines;
constexpr int LineLength = 100;
constexpr int Slot = 1;

// 100 characters of French text, accents included, so the code page does real work.
QString bodyLine(int n)
{
    QString line = QStringLiteral("%1 Réunion à l'hôtel de ville, côté été : prévoir œufs, thé et café pour 12 € ").arg(n, 5, 10, QLatin1Char('0'));
    while (line.size() < LineLength)
        line += QLatin1Char('x');
    line.truncate(LineLength);
    return line;
}

QString largeBody()
{
    QString body;
    body.reserve(BodyLines * (LineLength + 2));
    for (int i = 1; i <= BodyLines; ++i) {
        if (i > 1)
            body += QStringLiteral("\r\n");
        body += bodyLine(i);
    }
    return body;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Wall-clock and CPU milliseconds of each call of a step. On a shared machine the wall
// clock also counts time spent waiting for a core; the CPU time does not.
struct Timings
{
    std::vector<double> wall;
    std::vector<double> cpu;
};

// One call of `step`, after `reset` (untimed).
std::pair<double, double> timeOnce(const std::function<void()> &step, const std::function<void()> &reset = {})
{
    if (reset)
        reset();
    QElapsedTimer timer;
    const std::clock_t cpuStart = std::clock();
    timer.start();
    step();
    return {timer.nsecsElapsed() / 1e6, double(std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC};
}

// Times `runs` calls of `step`, after one untimed warm-up call.
Timings timeRuns(int runs, const std::function<void()> &step,
                 const std::function<void()> &reset = {})
{
    Timings t;
    for (int i = 0; i <= runs; ++i) {
        const auto [wall, cpu] = timeOnce(step, reset);
        if (i > 0) {
            t.wall.push_back(wall);
            t.cpu.push_back(cpu);
        }
    }
    return t;
}

void print(const char *name, const Timings &t, double megabytes = 0)
{
    const double wall = median(t.wall);
    const double cpu = median(t.cpu);
    std::printf("%s_ms=%.2f\n%s_cpu_ms=%.2f\n", name, wall, name, cpu);
    if (megabytes > 0)
        std::printf("%s_mb_s=%.0f\n%s_cpu_mb_s=%.0f\n", name, megabytes / (wall / 1000), name,
                    megabytes / (cpu / 1000));
}

void fail(const char *what)
{
    std::fprintf(stderr, "bench_store: %s\n", what);
    QFile::remove(SlotFilePath(Slot));
    std::exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    AppFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    const QString title = QStringLiteral("Grand message");
    const QString body = largeBody();

    const Timings writes = timeRuns(runs, [&] {
        if (WriteSlot(Slot, title, body) != WriteResult::Ok)
            fail("WriteSlot failed");
    });
    const double megabytes = QFile(SlotFilePath(Slot)).size() / 1e6;

    const QString small = largeBody().left(3 * (LineLength + 2) - 2);
    const Timings saves = timeRuns(runs * 4, [&] {
        if (WriteSlot(Slot, title, small) != WriteResult::Ok)
            fail("WriteSlot failed on a small message");
    });
    if (WriteSlot(Slot, title, body) != WriteResult::Ok)
        fail("WriteSlot failed");

    const QString expected = body + QStringLiteral("\r\n");
    const Timings reads = timeRuns(runs, [&] {
        if (ReadSlot(Slot).text.size() != expected.size())
            fail("ReadSlot returned a different text");
    });

    // The window reads the stored title at start-up, as it would in the user's folder.
    FrmQbox window;
    window.show();
    QCoreApplication::processEvents();
    auto *grid = window.findChild<MSFlexGrid *>(QStringLiteral("MSFlexGrid1"));
    auto *display = window.findChild<QPlainTextEdit *>(QStringLiteral("Label1"));
    if (!grid || !display)
        fail("MSFlexGrid1 or Label1 not found");
    if (grid->textMatrix(Slot, 1) != title)
        fail("the slot's title is not in the grid");

    // The floor for the click: a bare editor like the display box, with its font and size,
    // given the text as an editor holds it, ready made. Click and bare editor alternate.
    QPlainTextEdit bare;
    bare.setFont(display->font());
    bare.setFixedSize(display->size());
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    bare.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    bare.setReadOnly(true);
    bare.show();
    QString editorText = expected;
    editorText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Timings clicks;
    Timings bares;
    for (int i = 0; i <= runs; ++i) {
        const auto [clickWall, clickCpu] = timeOnce(
            [&] {
                Q_EMIT grid->cellClicked(Slot - 1, 1);
                QCoreApplication::processEvents();
            },
            [&] {
                display->setPlainText(QStringLiteral("Text3"));
                QCoreApplication::processEvents();
            });
        const auto [bareWall, bareCpu] = timeOnce(
            [&] {
                bare.setPlainText(editorText);
                QCoreApplication::processEvents();
            },
            [&] {
                bare.setPlainText(QStringLiteral("Text3"));
                QCoreApplication::processEvents();
            });
        if (i == 0)
            continue;  // the warm-up
        clicks.wall.push_back(clickWall);
        clicks.cpu.push_back(clickCpu);
        bares.wall.push_back(bareWall);
        bares.cpu.push_back(bareCpu);
    }
    if (display->blockCount() != BodyLines + 1 || !display->isVisible() || bare.blockCount() != BodyLines + 1)
        fail("the display box was not filled with the message");

    std::printf("runs=%d\nfile_mb=%.2f\n", runs, megabytes);
    print("write", writes, megabytes);
    print("read", reads, megabytes);
    print("click", clicks);
    print("bare", bares);
    std::printf("click_ratio=%.2f\n", median(clicks.wall) / median(bares.wall));
    print("save", saves);

    QFile::remove(SlotFilePath(Slot));
    return 0;
}
