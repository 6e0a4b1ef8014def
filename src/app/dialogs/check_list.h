#pragma once
// The check-box lists of the pool, export, import and cleanup dialogs: a
// table with fixed columns, grid lines, whole-row selection and a tick box
// in front of each row.
#include <vector>

#include <QStringList>
#include <QTableWidget>

struct ListColumn {
    QString title;
    int width;          // in the layout's units, scaled for today's fonts
    Qt::Alignment align;
};

class CheckList : public QTableWidget {
    Q_OBJECT
public:
    CheckList(const std::vector<ListColumn>& columns, QWidget* parent = nullptr);

    // Removes every row.
    void Clear();
    // Adds an unticked row with one cell per column.
    void AddRow(const QStringList& cells);
    // Ticks or unticks every row ("全选", "全不选").
    void TickAll(bool ticked);
    void SetTicked(int row, bool ticked);
    bool IsTicked(int row) const;
    // The ticked rows, top to bottom.
    std::vector<int> TickedRows() const;
    QString Cell(int row, int column) const;
    // The width the columns need, for the dialog's layout.
    int ColumnsWidth() const;

private:
    std::vector<Qt::Alignment> aligns_;
};
