#include "testsupport.h"

#include "module1.h"
#include "platform/msgbox.h"
#include "store/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

ScratchFolder::ScratchFolder()
{
    SetProgramFolderForTests(m_dir.path());
    // What start-up will set, for tests that use the store before a window exists.
    AppFolder = ProgramFolder();
}

ScratchFolder::~ScratchFolder()
{
    SetProgramFolderForTests(QString());
}

void ScratchFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the scratch file %s", qPrintable(name));
}

QByteArray ScratchFolder::read(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ScratchFolder::exists(const QString &name) const
{
    return QFile::exists(filePath(name));
}

void ScratchFolder::remove(const QString &name) const
{
    QFile::remove(filePath(name));
}

QStringList ScratchFolder::entries() const
{
    return QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QByteArray slotBytes(int number, const QByteArray &title, const QList<QByteArray> &lines)
{
    QByteArray bytes = QByteArray::number(number) + ',' + QByteArray::number(lines.size()) + "\r\n";
    bytes += '"' + title + "\"\r\n";
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

FileMap slotFiles(int first, int last)
{
    FileMap files;
    for (int n = first; n <= last; ++n)
        files.insert(QStringLiteral("Qbox%1.QBX").arg(n), slotBytes(n, "t", {"x"}));
    return files;
}

MsgBoxRecorder::MsgBoxRecorder()
{
    SetMsgBoxFunction([this](const QString &prompt, int style, const QString &title) {
        m_calls.append({prompt, style, title});
        if (m_onShow)
            m_onShow();
        return m_answers.isEmpty() ? 1 : m_answers.takeFirst();
    });
}

MsgBoxRecorder::~MsgBoxRecorder()
{
    SetMsgBoxFunction({});
}

bool showWindow(QWidget &window)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

Session::Session(const FileMap &files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        folder.write(it.key(), it.value());
    m_window = std::make_unique<FrmQbox>();
    if (!showWindow(*m_window))
        qFatal("the main window was never exposed");
}

Session::~Session() = default;

QString Session::mode() const
{
    QStringList parts;
    const char *frames[][2] = {{"Frame1", "buttons"}, {"Frame3", "view"}, {"Frame2", "edit"}};
    for (const auto &frame : frames) {
        if (find(frame[0])->isVisible())
            parts << QLatin1String(frame[1]);
    }
    if (grid()->isEnabled())
        parts << QStringLiteral("grid");
    return parts.join(QLatin1Char(' '));
}

QString Session::commands() const
{
    QString bits;
    for (const char *name : {"Command1", "Command3", "Command4"})
        bits += button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    for (const char *name : {"Mnu_Copier", "Mnu_Modif", "Mnu_Sup"})
        bits += item(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return bits;
}

QString Session::tooltip(const char *name) const
{
    return button(name)->toolTip();
}

QString Session::cellText(int row) const
{
    return grid()->item(row - 1, 1)->text();
}

bool Session::cellYellow(int row) const
{
    return grid()->item(row - 1, 1)->data(Qt::BackgroundRole).value<QBrush>().color() == QColor(255, 255, 0);
}

QString Session::bodyText() const
{
    return body()->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void Session::click(const char *name) const
{
    QTest::mouseClick(button(name), Qt::LeftButton);
}

void Session::clickCell(int row, int col) const
{
    QTableWidgetItem *cell = grid()->item(row - 1, col);
    grid()->scrollToItem(cell);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualItemRect(cell).center());
}
