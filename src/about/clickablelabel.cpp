#include "clickablelabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

// What a screen reader announces: a link named by its text, or by its tooltip when it
// shows a picture, that its press action follows.
class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(ClickableLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *label = static_cast<const ClickableLabel *>(widget());
        if (t != QAccessible::Name || !label->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        return label->text().isEmpty() ? label->toolTip() : label->text();
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            Q_EMIT static_cast<ClickableLabel *>(widget())->clicked();
    }
};

QAccessibleInterface *accessibleLink(const QString &className, QObject *object)
{
    if (className == QLatin1String("ClickableLabel"))
        return new AccessibleLink(static_cast<ClickableLabel *>(object));
    return nullptr;
}

} // namespace

ClickableLabel::ClickableLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleLink);
        return true;
    }();
    Q_UNUSED(installed);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
            && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}
