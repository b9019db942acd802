#pragma once

#include <QObject>

class RowModel;
class QTableView;
class QTimer;
class QWidget;

// Keeps the column "Prazo" of a quotations grid current: a click on its
// title sorts the rows by deadline, and while the window is shown the time
// left is asked again every minute.
class PrazoRefresh final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrazoRefresh)

public:
    PrazoRefresh(QWidget *window, QTableView *grid, RowModel *model, int column);

    QTimer *timer() const { return m_timer; }
    // The timer's handler: every cell of the column shows the time left now.
    void refresh();

    // A width that holds the longest time left in the grid's font.
    static int columnWidth(const QWidget *grid);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RowModel *m_model;
    int m_column;
    QTimer *m_timer;
};
