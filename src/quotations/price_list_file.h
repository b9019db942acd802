#pragma once

#include "store/price_list_store.h"

#include <QList>
#include <QString>

// Reads a supplier's price list from a workbook (.xlsx, its first sheet) or
// a CSV file. The first row names the columns: MARCA, PRODFABR and VALOR are
// required, DESCRICAO and UN optional, in any order, each title matched
// ignoring case, accents and blanks around it; other columns are ignored.
// Blank rows are passed over. Every row is checked: the first that cannot be
// taken throws SpreadsheetError naming its row and column, as the quotation
// import names them, so that nothing is stored from a list with a fault.
// Of rows naming the same part (brand and code, case ignored) the first is
// kept when they agree; rows that disagree are refused.
QList<PriceListEntry> readPriceListFile(const QString &path);
