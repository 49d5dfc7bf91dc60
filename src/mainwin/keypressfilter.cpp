#include "keypressfilter.h"

#include <QKeyEvent>

KeyPressFilter::KeyPressFilter(QObject *watched, Handler handler)
    : QObject(watched), m_handler(std::move(handler))
{
    watched->installEventFilter(this);
}

bool KeyPressFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);

    const auto *key = static_cast<QKeyEvent *>(event);
    // Tab and Escape move the focus or close things: they are not typed into a box.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
        return QObject::eventFilter(watched, event);
    // Keys that type characters, Enter and Backspace among them.
    QString typed = key->text();
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        typed = QStringLiteral("\r");
    // Shortcuts (copy, paste, select all) are commands, not typed characters.
    if (typed.isEmpty() || (key->modifiers() & Qt::ControlModifier))
        return QObject::eventFilter(watched, event);

    qint16 keyAscii = qint16(typed.at(0).unicode());
    m_handler(keyAscii);
    return keyAscii == 0;
}
