#include "aboutpictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap canvas(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPainterPath handOutline()
{
    QPainterPath hand;
    // The index finger, its tip on the hot spot.
    hand.moveTo(10, 16);
    hand.lineTo(10, 3);
    hand.quadTo(10, 1, 12, 1);
    hand.quadTo(14, 1, 14, 3);
    hand.lineTo(14, 11);
    // The knuckles of the three folded fingers.
    hand.quadTo(16, 9, 18, 11);
    hand.quadTo(20, 10, 22, 12);
    hand.quadTo(25, 11, 25, 14);
    // The palm down to the wrist.
    hand.lineTo(25, 22);
    hand.quadTo(25, 26, 23, 27);
    hand.lineTo(23, 30);
    hand.lineTo(12, 30);
    hand.lineTo(12, 27);
    // The thumb, folded in from the left.
    hand.lineTo(5, 19);
    hand.quadTo(4, 16, 7, 16);
    hand.closeSubpath();
    return hand;
}

} // namespace

namespace AboutPictures {

QPixmap dialogIcon()
{
    QPixmap pixmap = canvas(32, 32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // The quill behind the front of the box.
    QPainterPath feather;
    feather.moveTo(13, 20);
    feather.cubicTo(14, 10, 20, 4, 29, 1);
    feather.cubicTo(27, 9, 22, 16, 13, 20);
    p.setPen(QPen(QColor(110, 110, 130), 1));
    p.setBrush(QColor(245, 245, 235));
    p.drawPath(feather);
    p.setPen(QPen(QColor(60, 60, 80), 1.2));
    p.drawLine(QPointF(12, 23), QPointF(27, 3));

    // The box: its open top, then its front.
    const QPolygonF top({QPointF(3, 17), QPointF(8, 13), QPointF(29, 13), QPointF(24, 17)});
    p.setPen(QPen(QColor(90, 55, 20), 1));
    p.setBrush(QColor(150, 95, 45));
    p.drawPolygon(top);
    p.setBrush(QColor(200, 135, 65));
    p.drawRect(QRectF(3, 17, 21, 13));
    p.setBrush(QColor(170, 110, 50));
    p.drawPolygon(QPolygonF({QPointF(24, 17), QPointF(29, 13), QPointF(29, 26), QPointF(24, 30)}));
    p.setPen(QPen(QColor(120, 75, 30), 1));
    p.drawLine(QPointF(3, 23.5), QPointF(24, 23.5));
    return pixmap;
}

QPixmap donationButton()
{
    QPixmap pixmap = canvas(100, 44);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient gold(0, 0, 0, 44);
    gold.setColorAt(0, QColor(255, 222, 120));
    gold.setColorAt(1, QColor(247, 169, 30));
    p.setPen(QPen(QColor(200, 120, 20), 1));
    p.setBrush(gold);
    p.drawRoundedRect(QRectF(0.5, 0.5, 99, 27), 12, 12);

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(0, 48, 135));
    p.drawText(QRectF(0, 0, 100, 28), Qt::AlignCenter, QStringLiteral("Faire un don"));

    // A row of cards under the button.
    const QColor cards[] = {QColor(0, 48, 135), QColor(235, 0, 27), QColor(0, 121, 190),
                            QColor(255, 95, 0)};
    qreal left = 19;
    p.setPen(Qt::NoPen);
    for (const QColor &card : cards) {
        p.setBrush(card);
        p.drawRoundedRect(QRectF(left, 31, 14, 10), 2, 2);
        left += 16;
    }
    return pixmap;
}

QCursor pointingHand()
{
    QPixmap pixmap = canvas(32, 32);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(handOutline());
    // The creases between the folded fingers.
    p.drawLine(18, 12, 18, 15);
    p.drawLine(22, 13, 22, 16);
    p.end();
    return QCursor(pixmap, 12, 1);
}

} // namespace AboutPictures
