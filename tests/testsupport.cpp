#include "testsupport.h"

#include "platform/msgbox.h"

#include <QTest>

MsgBoxRecorder::MsgBoxRecorder()
{
    SetMsgBoxFunction([this](const QString &prompt, int style, const QString &title) {
        m_calls.append(QString(prompt).replace(QLatin1Char('\r'), QStringLiteral("\\r"))
                       + QStringLiteral("|%1|").arg(style) + title);
        if (onShow)
            onShow();
        return m_answers.isEmpty() ? 1 : m_answers.takeFirst();
    });
}

MsgBoxRecorder::~MsgBoxRecorder()
{
    SetMsgBoxFunction({});
}

Session::Session(const FileMap &files)
    : folder(files), m_window(std::make_unique<FrmQbox>())
{
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
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
        bits += find<QAbstractButton>(name)->isEnabled() ? u'1' : u'0';
    for (const char *name : {"Mnu_Copier", "Mnu_Modif", "Mnu_Sup"})
        bits += find<QAction>(name)->isEnabled() ? u'1' : u'0';
    return bits;
}

void Session::clickRow(int row) const
{
    QTableWidgetItem *cell = grid()->item(row - 1, 1);
    grid()->scrollToItem(cell);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualItemRect(cell).center());
}
