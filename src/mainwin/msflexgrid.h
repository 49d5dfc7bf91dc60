#pragma once

#include <QColor>
#include <QTableWidget>

// The message grid as the handlers know it: a current row and column, the text, the
// background and the alignment of the current cell, column widths and a click.
//
// Row 0 is the fixed header row, drawn by the header view; rows 1 to rows()-1 are the
// model's rows under it. Column 0 is the fixed column.
class MSFlexGrid : public QTableWidget
{
    Q_OBJECT

public:
    // Alignment values of the classic grid; only the centred one is used.
    static constexpr int AlignCenterCenter = 4;

    MSFlexGrid(int rows, int cols, QWidget *parent = nullptr);

    int rows() const { return rowCount() + 1; }
    int cols() const { return columnCount(); }

    // Making a cell current fails, and changes nothing, outside the grid.
    bool setRow(int row);
    int row() const { return m_row; }
    bool setCol(int col);
    int col() const { return m_col; }

    QString text() const;
    void setText(const QString &text);
    QColor cellBackColor() const;
    void setCellBackColor(const QColor &color);
    void resetCellBackColor();
    int cellAlignment() const;
    void setCellAlignment(int alignment);
    void setColWidth(int col, int twipsWidth);

    // The text and background of any cell, for whoever needs to look without moving.
    QString textMatrix(int row, int col) const;

    // Gives the keyboard focus to the grid, its highlight on the current row's title.
    void focusCurrentRow();

Q_SIGNALS:
    // After the user clicked a cell, or pressed Space or Enter on the highlighted one,
    // which is then the current one.
    void Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTableWidgetItem *currentItem() const;
    void clickCell(int modelRow, int column);
    void updateAccessibleRow(int modelRow);

    int m_row = 0;
    int m_col = 0;
};
