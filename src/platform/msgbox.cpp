#include "msgbox.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

MsgBoxFunction &replacement()
{
    static MsgBoxFunction function;
    return function;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int showMessageBox(const QString &prompt, int style, const QString &title, const QString &detailedText)
{
    // Lone CRs separate the lines of composed texts; show them as line breaks.
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(iconFor(style), title, text);
    box.setTextFormat(Qt::PlainText);
    if (!detailedText.isEmpty())
        box.setDetailedText(detailedText);
    if ((style & 0x0F) == MsgBoxStyle::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
        box.setDefaultButton((style & MsgBoxStyle::DefaultButton2) ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgBoxResult::Yes : MsgBoxResult::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MsgBoxResult::Ok;
}

} // namespace

int MsgBox(const QString &prompt, int style, const QString &title, const QString &detailedText)
{
    if (replacement())
        return replacement()(prompt, style, title, detailedText);
    return showMessageBox(prompt, style, title, detailedText);
}

void SetMsgBoxFunction(MsgBoxFunction function)
{
    replacement() = std::move(function);
}
