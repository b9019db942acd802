#pragma once

#include "store/released_quotation_rows.h"
#include "ui/row_model.h"

// The columns of CotaLiberadas the quotation grids show.
enum class ReleasedField { Cotacao, TipoStatus, DataValidade, AteHora, DataLiberada };

// A column of one of them, titled and as wide as given, its date or time in
// that display format (empty: the regional short form). style answers the
// style roles (the row's own colours); no style: the grid's look.
GridColumn releasedColumn(const ReleasedQuotationSet &rows, ReleasedField field, const QString &title,
    int width, const QString &format = {}, std::function<QVariant(int row, int role)> style = {});
