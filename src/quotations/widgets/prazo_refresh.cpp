#include "quotations/widgets/prazo_refresh.h"

#include "ui/row_model.h"
#include "ui/widgets/grid.h"

#include <QEvent>
#include <QTableView>
#include <QTimer>

using namespace Qt::StringLiterals;

PrazoRefresh::PrazoRefresh(QWidget *window, QTableView *grid, RowModel *model, int column)
    : QObject(window)
    , m_model(model)
    , m_column(column)
    , m_timer(new QTimer(this))
{
    m_timer->setObjectName(u"tmrPrazo"_s);
    m_timer->setInterval(60 * 1000);
    connect(m_timer, &QTimer::timeout, this, &PrazoRefresh::refresh);
    sortOnTitleClick(grid, model, column);
    window->installEventFilter(this);
}

void PrazoRefresh::refresh()
{
    m_model->refreshColumn(m_column);
}

int PrazoRefresh::columnWidth(const QWidget *grid)
{
    return grid->fontMetrics().horizontalAdvance(u"23 h 59 min"_s) + 14;
}

bool PrazoRefresh::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        refresh();
        m_timer->start();
    } else if (event->type() == QEvent::Hide) {
        m_timer->stop();
    }
    return QObject::eventFilter(watched, event);
}
