#include "ui/widgets/dataset_grid.h"

#include "store/dataset_model.h"

#include <QBrush>
#include <QFont>
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

void setTitleGradient(QTableView *grid, const QColor &top, const QColor &bottom, const QColor &border)
{
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                       "stop:0 %1, stop:1 %2); border: 1px solid %3; padding: 2px; }")
            .arg(top.name(), bottom.name(), border.name()));
}

QVariant cellStyle(int role, const QColor &background, std::optional<bool> bold)
{
    if (role == Qt::BackgroundRole)
        return QBrush(background);
    if (role == Qt::FontRole && bold) {
        QFont font;
        font.setBold(*bold);
        return font;
    }
    return {};
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}
