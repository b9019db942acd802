#include "quotations/widgets/quotation_grid.h"

#include "store/dataset_model.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

QTableView *makeDatasetGrid(QWidget *parent, const char *name, DatasetModel *model, const QRect &place)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setModel(model);
    grid->setGeometry(place);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setWordWrap(false);
    for (int c = 0; c < model->columns().size(); ++c) {
        if (model->columns().at(c).width > 0)
            grid->setColumnWidth(c, model->columns().at(c).width);
    }
    model->followSelection(grid->selectionModel());
    return grid;
}

void setTitleColour(QTableView *grid, const QColor &colour)
{
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; border: 1px solid gray; padding: 2px; }")
            .arg(colour.name()));
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
