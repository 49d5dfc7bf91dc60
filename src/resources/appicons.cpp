#include "appicons.h"

#include "version.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap clipboardPixmap(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(90, 55, 20), 1.5));
    p.setBrush(QColor(181, 120, 60));
    p.drawRoundedRect(QRectF(5, 4, 22, 27), 2, 2);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 8, 16, 20));
    p.setPen(QPen(QColor(0, 0, 160), 1.5));
    for (int y = 13; y <= 24; y += 4)
        p.drawLine(QPointF(10.5, y), QPointF(21.5, y));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(200, 200, 210));
    p.drawRoundedRect(QRectF(11, 1.5, 10, 5), 1.5, 1.5);
    return pixmap;
}

QPixmap hidePixmap(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 24, 18));
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(QRectF(4, 4, 24, 4));
    QPainterPath arrow;
    arrow.moveTo(10, 20);
    arrow.lineTo(22, 20);
    arrow.lineTo(16, 29);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPath(arrow);
    return pixmap;
}

QPixmap quitPixmap(int size)
{
    QPixmap pixmap = canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(120, 0, 0), 1.5));
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
    return pixmap;
}

QIcon iconFrom(QPixmap (*draw)(int))
{
    QIcon icon;
    icon.addPixmap(draw(16));
    icon.addPixmap(draw(32));
    return icon;
}

} // namespace

namespace AppIcons {

QPixmap programPixmap(int size)
{
    return clipboardPixmap(size);
}

QIcon windowIcon()
{
    return iconFrom(clipboardPixmap);
}

QIcon hideIcon()
{
    return iconFrom(hidePixmap);
}

QIcon quitIcon()
{
    return iconFrom(quitPixmap);
}

} // namespace AppIcons
