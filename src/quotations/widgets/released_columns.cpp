#include "quotations/widgets/released_columns.h"

#include "common/regional.h"

namespace {

QString shown(const ReleasedQuotationRow &row, ReleasedField field, const QString &format)
{
    switch (field) {
    case ReleasedField::Cotacao:
        return row.cotacao;
    case ReleasedField::TipoStatus:
        return row.tipoStatus;
    case ReleasedField::DataValidade:
        return dateText(row.dataValidade, format);
    case ReleasedField::AteHora:
        return timeText(row.ateHora, format);
    case ReleasedField::DataLiberada:
        return dateText(row.dataLiberada, format);
    }
    return {};
}

} // namespace

GridColumn releasedColumn(const ReleasedQuotationSet &rows, ReleasedField field, const QString &title,
    int width, const QString &format, std::function<QVariant(int row, int role)> style)
{
    GridColumn column { title, width, {} };
    column.data = [&rows, field, format, style = std::move(style)](int row, int role) -> QVariant {
        switch (role) {
        case Qt::DisplayRole:
            return shown(rows.at(row), field, format);
        case Qt::BackgroundRole:
        case Qt::ForegroundRole:
        case Qt::FontRole:
            return style ? style(row, role) : QVariant();
        default:
            return {};
        }
    };
    return column;
}
