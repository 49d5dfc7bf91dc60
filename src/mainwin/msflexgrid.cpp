#include "msflexgrid.h"

#include "forms/formlayout.h"

#include <QHeaderView>
#include <QKeyEvent>

MSFlexGrid::MSFlexGrid(int rows, int cols, QWidget *parent)
    : QTableWidget(rows - 1, cols, parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(false);
    // One stop in the window's Tab order: the arrows move inside.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);

    // The fixed column looks like the header that names it.
    const QBrush fixed = palette().button();
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < cols; ++c) {
            auto *item = new QTableWidgetItem;
            if (c == 0) {
                item->setBackground(fixed);
                item->setFlags(Qt::ItemIsEnabled);
            }
            setItem(r, c, item);
        }
    }
    for (int c = 0; c < cols; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem);

    connect(this, &QTableWidget::cellClicked, this, &MSFlexGrid::clickCell);
}

void MSFlexGrid::clickCell(int modelRow, int column)
{
    m_row = modelRow + 1;
    m_col = column;
    Q_EMIT Click();
}

void MSFlexGrid::keyPressEvent(QKeyEvent *event)
{
    const bool press = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
            || event->key() == Qt::Key_Enter;
    if (!press || (event->modifiers() & ~Qt::KeypadModifier) || !currentIndex().isValid()) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    clickCell(currentRow(), currentColumn());
}

void MSFlexGrid::focusCurrentRow()
{
    if (m_row > 0) {
        setCurrentCell(m_row - 1, 1);
        scrollToItem(item(m_row - 1, 1));
    }
    setFocus(Qt::OtherFocusReason);
}

// A screen reader reads a whole slot from any of its cells: its number, then its title.
void MSFlexGrid::updateAccessibleRow(int modelRow)
{
    QStringList parts;
    for (int c = 0; c < columnCount(); ++c) {
        if (!item(modelRow, c)->text().isEmpty())
            parts << item(modelRow, c)->text();
    }
    const QString name = parts.join(QLatin1String(" : "));
    for (int c = 0; c < columnCount(); ++c)
        item(modelRow, c)->setData(Qt::AccessibleTextRole, name);
}

bool MSFlexGrid::setRow(int row)
{
    if (row < 0 || row >= rows())
        return false;
    m_row = row;
    return true;
}

bool MSFlexGrid::setCol(int col)
{
    if (col < 0 || col >= cols())
        return false;
    m_col = col;
    return true;
}

QTableWidgetItem *MSFlexGrid::currentItem() const
{
    return m_row == 0 ? horizontalHeaderItem(m_col) : item(m_row - 1, m_col);
}

QString MSFlexGrid::text() const
{
    return currentItem()->text();
}

void MSFlexGrid::setText(const QString &text)
{
    currentItem()->setText(text);
    if (m_row > 0)
        updateAccessibleRow(m_row - 1);
}

QColor MSFlexGrid::cellBackColor() const
{
    return currentItem()->background().color();
}

void MSFlexGrid::setCellBackColor(const QColor &color)
{
    currentItem()->setBackground(color);
}

void MSFlexGrid::resetCellBackColor()
{
    currentItem()->setData(Qt::BackgroundRole, QVariant());
}

int MSFlexGrid::cellAlignment() const
{
    return currentItem()->textAlignment() == Qt::AlignCenter ? AlignCenterCenter : 0;
}

void MSFlexGrid::setCellAlignment(int alignment)
{
    if (alignment == AlignCenterCenter)
        currentItem()->setTextAlignment(Qt::AlignCenter);
}

void MSFlexGrid::setColWidth(int col, int twipsWidth)
{
    setColumnWidth(col, twips(twipsWidth));
}

QString MSFlexGrid::textMatrix(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return {};
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell->text();
}
