#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Spreadsheet cell names: column letters and a 1-based row ("A1", "AB12"),
// for 0-based rows and columns.
QString columnName(int col);
QString cellName(int row, int col);

struct CellPosition {
    int row = 0;
    int col = 0;
};
// Reads a cell name such as "C7"; nullopt for anything else (also for a
// name beyond the largest sheet).
std::optional<CellPosition> parseCellName(QStringView name);
