#pragma once

#include <QObject>
#include <QtGlobal>

#include <functional>

// Hands each character typed into a widget to a handler that takes the character
// code by reference; a code set to 0 discards the character.
class KeyPressFilter : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(qint16 &keyAscii)>;

    KeyPressFilter(QObject *watched, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler m_handler;
};
