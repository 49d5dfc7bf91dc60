#include "testsupport.h"

#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"

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

QString ScratchFolder::filePath(const QString &name) const
{
    return m_dir.filePath(name);
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

FakeTrayBackend::FakeTrayBackend()
{
    setCurrent(this);
}

FakeTrayBackend::~FakeTrayBackend() = default;

void FakeTrayBackend::shellNotifyIcon(quint32 action, const NotifyIconData &data)
{
    m_calls.append({action, data});
}

void clickGridCell(FrmQbox &window, int row, int col)
{
    auto *grid = window.findChild<MSFlexGrid *>(QStringLiteral("MSFlexGrid1"));
    QTableWidgetItem *cell = grid->item(row - 1, col);
    grid->scrollToItem(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(cell).center());
}

bool showWindow(QWidget &window)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}
