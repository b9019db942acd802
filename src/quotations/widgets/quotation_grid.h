#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class DatasetModel;
class QPushButton;
class QTableView;
class QWidget;

// A grid over a dataset model at a fixed place: one row selected at a time,
// following the dataset's current row, column widths and centred titles from
// the model, no row headers.
QTableView *makeDatasetGrid(QWidget *parent, const char *name, DatasetModel *model, const QRect &place);

// Paints the column titles of a grid in a colour.
void setTitleColour(QTableView *grid, const QColor &colour);

// A button at a fixed place with the hand cursor.
QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, const QRect &place);
