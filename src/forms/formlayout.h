#pragma once

#include <QColor>
#include <QLatin1String>
#include <QPalette>
#include <QWidget>

// What both forms share: positions and sizes in twips, and the colours of their controls.

// Window layouts are given in twips; at 96 dpi a logical pixel is 15 twips, and Qt
// scales logical pixels for denser screens.
constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return (value + TwipsPerPixel / 2) / TwipsPerPixel;
}

// Names a control and sets its rectangle, given in twips, inside its container.
template <typename Widget>
Widget *place(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return widget;
}

// Fills the control's role (its background, or a text box's base) with color.
inline void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

inline void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}
