#include "quotations/spreadsheet_exchange.h"

#include "common/regional.h"
#include "exchange/exchange_frame.h"
#include "spreadsheet/cell_reference.h"
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_reader.h"
#include "spreadsheet/xlsx_writer.h"
#include "store/data_module.h"
#include "store/item_writes.h"
#include "store/schema.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

const QString Atencao = u"Atenção"_s;
const QString Erro = u"Erro"_s;
const QString Filter = u"Excel (*.xlsx)"_s;

// Positions in the file, the grid's columns in its order.
enum Column { Marca, Prodfabr, Descricao, Un, Qtde, Valor, Similares, ColumnCount };

bool isNumberColumn(int col)
{
    return col == Qtde || col == Valor;
}

// Excel's own limit on a column's width, in characters.
constexpr double MaxColumnWidth = 255;

SpreadsheetError cellError(int row, int col, const QString &problem)
{
    return SpreadsheetError(u"Linha %1, coluna %2 (%3): %4."_s.arg(row + 1).arg(
        columnName(col), SpreadsheetExchange::columnTitles().at(col), problem));
}

// What the import reads of each row; the other columns may hold anything.
const ColumnSet &columnsRead()
{
    static const ColumnSet columns = ColumnSet::of({ Marca, Prodfabr, Qtde, Valor, Similares });
    return columns;
}

// A date or time as the regional settings write it.
QString dateTimeText(const SheetCell &cell)
{
    const QDate date = cell.date();
    const QTime time = cell.time();
    if (!time.isValid())
        return formatValue(cell.number, FieldType::Float, QString());
    if (!date.isValid())
        return timeText(time);
    if (time == QTime(0, 0))
        return dateText(date);
    return dateText(date) + u' ' + timeText(time);
}

// A cell as text, the way a number or a date is written under the regional
// settings, so that a brand or code typed as a number still matches.
QString cellText(const WorksheetReader &sheet, int col)
{
    const SheetCell &cell = sheet.cell(col);
    switch (cell.kind) {
    case CellKind::Empty:
        return {};
    case CellKind::Text:
        return cell.text;
    case CellKind::Number:
        return formatValue(cell.number, FieldType::Float, QString());
    case CellKind::DateTime:
        return dateTimeText(cell);
    case CellKind::Boolean:
        return cell.number != 0 ? u"VERDADEIRO"_s : u"FALSO"_s;
    case CellKind::Error:
        throw cellError(sheet.row(), col, u"a célula contém o erro %1"_s.arg(cell.text));
    case CellKind::Uncalculated:
        break;
    }
    throw cellError(sheet.row(), col,
        u"a fórmula =%1 foi salva sem o seu resultado; abra a planilha num programa de planilhas e "
        "salve-a antes de importar"_s.arg(cell.text.left(40)));
}

// A number cell as it is; a text cell read under the regional settings.
// Empty for an empty or blank cell. A date is not a number.
std::optional<double> cellNumber(const WorksheetReader &sheet, int col)
{
    const SheetCell &cell = sheet.cell(col);
    if (cell.kind == CellKind::Number)
        return cell.number;
    const QString text = cellText(sheet, col);
    try {
        if (cell.kind == CellKind::Text || cell.kind == CellKind::Empty)
            return regionalNumber(text);
    } catch (const ConversionError &) {
    }
    throw cellError(sheet.row(), col, u"\"%1\" não é um número"_s.arg(text.left(40)));
}

} // namespace

SpreadsheetExchange::SpreadsheetExchange(Prompts &prompts, TDm &dm)
    : m_prompts(prompts)
    , m_dm(dm)
{
}

const QStringList &SpreadsheetExchange::columnTitles()
{
    static const QStringList titles { u"MARCA"_s, u"PRODFABR"_s, u"DESCRICAO"_s, u"UN"_s, u"QTDE"_s,
        u"VALOR"_s, u"SIMILARES"_s };
    return titles;
}

QString SpreadsheetExchange::currentQuotation() const
{
    const QuotationItemRow *item = m_dm.CotaFornec().current();
    return item ? item->cotacao : QString();
}

bool SpreadsheetExchange::exportItems()
{
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    QString path = m_prompts.saveFileName(u"Salva a Planilha"_s, u"Cotacao"_s + currentQuotation(), Filter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += u".xlsx"_s;
    try {
        if (!writeWorkbook(path)) {
            m_prompts.message(Erro, u"Você não tem o excel instalado...., Não posso exportar os dados"_s);
            return false;
        }
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    return true;
}

bool SpreadsheetExchange::writeWorkbook(const QString &path)
{
    WaitScope wait(m_prompts);
    std::array<qsizetype, ColumnCount> width {};
    for (int col = 0; col < ColumnCount; ++col)
        width[col] = columnTitles().at(col).size();

    XlsxWriter writer(path);
    try {
        for (int col = 0; col < ColumnCount; ++col)
            writer.writeText(0, col, columnTitles().at(col));
        int row = 1;
        for (const QuotationItemRow &item : m_dm.CotaFornec().rows()) {
            const std::array<const QString *, ColumnCount> texts { &item.marca, &item.prodfabr,
                &item.descricao, &item.un, nullptr, nullptr, &item.similares };
            for (int col = 0; col < ColumnCount; ++col) {
                if (isNumberColumn(col)) {
                    const std::optional<double> value = col == Qtde ? item.qtde : item.valor;
                    if (!value)
                        continue; // an empty price is an empty cell
                    writer.writeNumber(row, col, *value);
                    width[col]
                        = std::max(width[col], formatValue(*value, FieldType::Float, QString()).size());
                } else if (!texts[col]->isNull()) {
                    writer.writeText(row, col, *texts[col]);
                    width[col] = std::max(width[col], texts[col]->size());
                }
            }
            ++row;
        }
        for (int col = 0; col < ColumnCount; ++col)
            writer.setColumnWidth(col, std::min(MaxColumnWidth, double(width[col]) + 2));
    } catch (const SpreadsheetError &) {
        writer.discard(); // nothing is saved unless every cell was written
        return false;
    }
    writer.close();
    return true;
}

QList<SpreadsheetExchange::PriceRow> SpreadsheetExchange::priceRows(WorksheetReader &sheet)
{
    QList<PriceRow> rows;
    // From the second row to the first one whose brand is blank; a row the
    // file leaves out holds nothing, so its brand is blank too.
    int expected = 1;
    while (sheet.nextRow(columnsRead())) {
        if (sheet.row() == 0)
            continue;
        if (sheet.row() != expected++)
            break;
        PriceRow r;
        r.line = sheet.row() + 1;
        r.marca = cellText(sheet, Marca);
        if (r.marca.trimmed().isEmpty())
            break;
        r.prodfabr = cellText(sheet, Prodfabr);
        // The quantity is not stored, but must be a number; an empty one is
        // what the export writes for an item without quantity.
        cellNumber(sheet, Qtde);
        const std::optional<double> valor = cellNumber(sheet, Valor);
        if (valor && *valor != 0)
            r.valor = valor;
        r.similares = cellText(sheet, Similares);
        rows << r;
    }
    // The sheet must reach SIMILARES somewhere, in any row, as the layout
    // has it; only a sheet that does not yet is walked to its end.
    if (!rows.isEmpty() && sheet.usedColumns() < ColumnCount) {
        while (sheet.nextRow(ColumnSet()))
            ;
    }
    if (!rows.isEmpty() && sheet.usedColumns() < ColumnCount)
        throw cellError(rows.first().line - 1, sheet.usedColumns(),
            u"a planilha tem só %1 colunas usadas; são necessárias %2, de MARCA a SIMILARES"_s
                .arg(sheet.usedColumns())
                .arg(int(ColumnCount)));
    return rows;
}

bool SpreadsheetExchange::importItems()
{
    const QuotationItemSet &items = m_dm.CotaFornec();
    if (!items.isOpen() || items.isEmpty())
        return false;
    const QString path = m_prompts.openFileName(u"Abre Planilha Excel"_s, QString(), Filter);
    if (path.isEmpty())
        return false;
    const QString cotacao = currentQuotation();
    if (!path.contains(cotacao)) {
        m_prompts.message(Erro, u"Arquivo incompatível, Verifique..."_s);
        return false;
    }
    QList<PriceRow> rows, unmatched;
    try {
        WaitScope wait(m_prompts);
        // Every row is read and checked before the first item changes.
        WorksheetReader sheet(path);
        rows = priceRows(sheet);
        unmatched = applyRows(rows);
    } catch (const SpreadsheetError &e) {
        m_prompts.message(Erro, e.message() + u" Nada foi alterado."_s);
        return false;
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
        return false;
    }
    m_prompts.message(Atencao, u"Processo Finalizado..."_s);
    showImportNotes(cotacao, unmatched, rows);
    return true;
}

QList<SpreadsheetExchange::PriceRow> SpreadsheetExchange::applyRows(const QList<PriceRow> &rows)
{
    // The key of a look-up by brand and maker's code: each text as the
    // column keeps it, compared ignoring case (full case folding).
    const Field &marcaField = cotacaoForncField(CotacaoForncColumn::MARCA);
    const Field &prodfabrField = cotacaoForncField(CotacaoForncColumn::PRODFABR);
    const auto keyOf = [&](const QVariant &marca, const QVariant &prodfabr) {
        const QVariant m = marcaField.coerce(marca);
        const QVariant p = prodfabrField.coerce(prodfabr);
        return (m.isValid() ? m.toString().toCaseFolded() : QString(QChar(0xFFFE))) + QChar(0xFFFF)
            + (p.isValid() ? p.toString().toCaseFolded() : QString(QChar(0xFFFE)));
    };

    // Items that share brand and maker's code take the rows naming them in
    // turn, in the order of the grid and so of the export: an exported file
    // imports unchanged. Extra rows go to the last of them.
    const auto stored = [](const QString &text) { return text.isNull() ? QVariant() : QVariant(text); };
    QHash<QString, QList<qint64>> sameKey;
    for (const QuotationItemRow &item : m_dm.CotaFornec().rows())
        sameKey[keyOf(stored(item.marca), stored(item.prodfabr))] << item.rowid;
    QHash<QString, int> taken;
    QList<PriceRow> unmatched;

    // All rows or none: a failure rolls back, and the sets read the file again.
    Database &db = m_dm.Banco();
    QList<qint64> written;
    {
        Transaction tx = db.transaction();
        QuotationItemWrites writes(db);
        for (const PriceRow &row : rows) {
            const QString key = keyOf(row.marca, row.prodfabr);
            const auto group = sameKey.constFind(key);
            if (group == sameKey.cend()) {
                unmatched << row;
                continue;
            }
            const qint64 rowid = group->at(std::min(taken[key]++, int(group->size()) - 1));
            // Stored as a price typed in the grid is: a number, or empty.
            writes.setPriceAndSimilares(rowid, row.valor ? QVariant(*row.valor) : QVariant(), row.similares);
            written << rowid;
        }
        tx.commit();
    }
    // Only the items written are read again (a long list is read whole once).
    std::sort(written.begin(), written.end());
    written.erase(std::unique(written.begin(), written.end()), written.end());
    db.announceRowsWritten(m_dm.CotaFornec().tableName(), written);
    return unmatched;
}

void SpreadsheetExchange::showImportNotes(
    const QString &cotacao, const QList<PriceRow> &unmatched, const QList<PriceRow> &rows)
{
    const int limit = cotacaoForncField(CotacaoForncColumn::SIMILARES).size;
    QSet<int> unmatchedLines;
    for (const PriceRow &row : unmatched)
        unmatchedLines << row.line;
    QList<PriceRow> cut;
    for (const PriceRow &row : rows) {
        if (limit > 0 && row.similares.size() > limit && !unmatchedLines.contains(row.line))
            cut << row;
    }
    if (unmatched.isEmpty() && cut.isEmpty())
        return;
    const auto log = m_prompts.createLog();
    if (!unmatched.isEmpty()) {
        log->addLine(
            u"Linhas da planilha sem item correspondente na cotação %1 (preços não importados):"_s.arg(
                cotacao));
        for (const PriceRow &row : unmatched)
            log->addLine(u"Linha %1 - Marca: %2 - Código: %3"_s.arg(row.line).arg(row.marca, row.prodfabr));
    }
    if (!cut.isEmpty()) {
        log->addLine(
            u"Linhas com SIMILARES de mais de %1 caracteres (guardados os %1 primeiros):"_s.arg(limit));
        for (const PriceRow &row : cut)
            log->addLine(u"Linha %1 - Marca: %2 - Código: %3 - Guardado: %4"_s.arg(row.line).arg(
                row.marca, row.prodfabr, row.similares.left(limit)));
    }
    log->showModal();
}
