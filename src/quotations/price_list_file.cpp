#include "quotations/price_list_file.h"

#include "common/part_code.h"
#include "common/regional.h"
#include "common/text.h"
#include "spreadsheet/cell_reference.h"
#include "spreadsheet/csv_reader.h"
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xlsx_reader.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

enum Role { Marca, Prodfabr, Valor, Descricao, Un, RoleCount };
constexpr int RequiredRoles = 3;

const std::array<QString, RoleCount> &roleTitles()
{
    static const std::array<QString, RoleCount> titles { u"MARCA"_s, u"PRODFABR"_s, u"VALOR"_s,
        u"DESCRICAO"_s, u"UN"_s };
    return titles;
}

SpreadsheetError cellError(int line, int col, Role role, const QString &problem)
{
    return SpreadsheetError(
        u"Linha %1, coluna %2 (%3): %4."_s.arg(line).arg(columnName(col), roleTitles()[role], problem));
}

// A price as a list may write it: "12,50", "12.5", "R$ 12,50".
std::optional<double> priceText(const QString &text)
{
    QString t = text.trimmed();
    if (t.startsWith(u"R$"_s))
        t = t.mid(2);
    return fileNumber(t);
}

// One row of the file at a time, whichever kind of file it is.
class Rows {
public:
    virtual ~Rows() = default;
    // The titles of the first row by column; empty when the file has none.
    virtual QStringList titles() = 0;
    // Moves to the next row below the titles, reading the columns given.
    virtual bool next(const QList<int> &columns) = 0;
    virtual int line() const = 0; // 1-based, as a spreadsheet program shows it
    virtual QString text(int col, Role role) const = 0;
    virtual std::optional<double> number(int col, Role role) const = 0;
};

class WorkbookRows final : public Rows {
public:
    explicit WorkbookRows(const QString &path)
        : m_sheet(path, limits())
    {
    }

    QStringList titles() override
    {
        if (!m_sheet.nextRow(ColumnSet::all()) || m_sheet.row() != 0)
            return {};
        QStringList out;
        for (int col : m_sheet.cellColumns()) {
            while (out.size() < col)
                out << QString();
            const SheetCell &cell = m_sheet.cell(col);
            out << (cell.kind == CellKind::Text ? cell.text : QString());
        }
        return out;
    }

    bool next(const QList<int> &columns) override { return m_sheet.nextRow(ColumnSet::of(columns)); }
    int line() const override { return m_sheet.row() + 1; }

    QString text(int col, Role role) const override
    {
        const SheetCell &cell = m_sheet.cell(col);
        switch (cell.kind) {
        case CellKind::Empty:
            return {};
        case CellKind::Text:
            return cell.text;
        case CellKind::Number:
            return generalNumber(cell.number);
        case CellKind::Boolean:
            return cell.number != 0 ? u"VERDADEIRO"_s : u"FALSO"_s;
        case CellKind::DateTime:
            throw cellError(line(), col, role, u"a célula tem uma data, não um texto"_s);
        case CellKind::Error:
        case CellKind::Uncalculated:
            break;
        }
        throw unreadable(col, role, cell);
    }

    std::optional<double> number(int col, Role role) const override
    {
        const SheetCell &cell = m_sheet.cell(col);
        switch (cell.kind) {
        case CellKind::Empty:
            return std::nullopt;
        case CellKind::Number:
            return cell.number;
        case CellKind::Text:
            return priceText(cell.text);
        case CellKind::DateTime:
            throw cellError(line(), col, role, u"a célula tem uma data, não um número"_s);
        case CellKind::Boolean:
            throw cellError(line(), col, role, u"a célula tem um valor lógico, não um número"_s);
        case CellKind::Error:
        case CellKind::Uncalculated:
            break;
        }
        throw unreadable(col, role, cell);
    }

private:
    // A list of 200,000 parts and more is ordinary; the other limits stay.
    static XlsxLimits limits()
    {
        XlsxLimits l;
        l.maxCells = 8'000'000;
        return l;
    }

    SpreadsheetError unreadable(int col, Role role, const SheetCell &cell) const
    {
        if (cell.kind == CellKind::Error)
            return cellError(line(), col, role, u"a célula contém o erro %1"_s.arg(cell.text));
        return cellError(line(), col, role,
            u"a fórmula =%1 foi salva sem o seu resultado; abra a planilha num programa de planilhas e "
            "salve-a antes de importar"_s.arg(cell.text.left(40)));
    }

    WorksheetReader m_sheet;
};

class CsvRows final : public Rows {
public:
    explicit CsvRows(const QString &path)
        : m_file(readCsvFile(path))
    {
    }

    QStringList titles() override { return m_file.rows.isEmpty() ? QStringList() : m_file.rows.first(); }
    bool next(const QList<int> &) override { return ++m_row < m_file.rows.size(); }
    int line() const override { return int(m_row) + 1; }
    QString text(int col, Role) const override { return m_file.rows.at(m_row).value(col); }
    std::optional<double> number(int col, Role) const override { return priceText(text(col, Valor)); }

private:
    CsvFile m_file;
    qsizetype m_row = 0;
};

QString fileFailure(const QString &path, const QString &reason)
{
    return u"Não foi possível ler a tabela de preços \"%1\": %2."_s.arg(
        QDir::toNativeSeparators(path), reason);
}

// The kind of file by its first bytes, whatever its name says: a workbook
// is a zip archive.
std::unique_ptr<Rows> openRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SpreadsheetError(fileFailure(path, file.errorString()));
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith("PK"))
        return std::make_unique<WorkbookRows>(path);
    if (head.startsWith("\xD0\xCF\x11\xE0"))
        throw SpreadsheetError(fileFailure(path,
            u"é uma planilha no formato antigo do Excel (.xls); salve-a como .xlsx ou CSV e importe-a de novo"_s));
    return std::make_unique<CsvRows>(path);
}

// Which column holds each role; -1 for an optional one the file lacks.
std::array<int, RoleCount> columnsOf(const QStringList &titles)
{
    std::array<int, RoleCount> at;
    at.fill(-1);
    for (int col = 0; col < titles.size(); ++col) {
        const QString title = searchFolded(trimControls(titles.at(col)));
        for (int role = 0; role < RoleCount; ++role) {
            if (title != roleTitles()[role].toCaseFolded())
                continue;
            if (at[role] >= 0)
                throw SpreadsheetError(u"Linha 1: o título %1 aparece nas colunas %2 e %3."_s.arg(
                    roleTitles()[role], columnName(at[role]), columnName(col)));
            at[role] = col;
        }
    }
    QStringList missing;
    for (int role = 0; role < RequiredRoles; ++role) {
        if (at[role] < 0)
            missing << roleTitles()[role];
    }
    if (!missing.isEmpty())
        throw SpreadsheetError(u"A primeira linha deve dar os títulos das colunas MARCA, PRODFABR e VALOR "
                               "(DESCRICAO e UN são opcionais); falta: %1."_s.arg(missing.join(u", "_s)));
    return at;
}

// The key two rows naming one part share.
QString partKey(const PriceListEntry &e)
{
    return brandKey(e.marca) + QChar(0xFFFF) + exactCodeKey(e.prodfabr);
}

} // namespace

QList<PriceListEntry> readPriceListFile(const QString &path)
{
    const std::unique_ptr<Rows> rows = openRows(path);
    const std::array<int, RoleCount> at = columnsOf(rows->titles());
    QList<int> read;
    for (int col : at) {
        if (col >= 0)
            read << col;
    }
    const auto textOf
        = [&](Role role) { return at[role] < 0 ? QString() : trimControls(rows->text(at[role], role)); };

    QList<PriceListEntry> entries;
    QHash<QString, qsizetype> seen;
    while (rows->next(read)) {
        PriceListEntry e;
        e.linha = rows->line();
        e.marca = textOf(Marca);
        e.prodfabr = textOf(Prodfabr);
        e.descricao = textOf(Descricao);
        e.un = textOf(Un);
        std::optional<double> valor;
        try {
            valor = rows->number(at[Valor], Valor);
        } catch (const ConversionError &) {
            throw cellError(e.linha, at[Valor], Valor,
                u"\"%1\" não é um número"_s.arg(rows->text(at[Valor], Valor).trimmed().left(40)));
        }
        if (e.marca.isEmpty() && e.prodfabr.isEmpty() && !valor && e.descricao.isEmpty() && e.un.isEmpty())
            continue; // a blank row
        if (e.marca.isEmpty())
            throw cellError(e.linha, at[Marca], Marca, u"falta a marca"_s);
        if (e.prodfabr.isEmpty())
            throw cellError(e.linha, at[Prodfabr], Prodfabr, u"falta o código do fabricante"_s);
        if (looseCodeKey(e.prodfabr).isEmpty())
            throw cellError(e.linha, at[Prodfabr], Prodfabr,
                u"o código \"%1\" não tem letras nem números"_s.arg(e.prodfabr.left(40)));
        if (!valor)
            throw cellError(e.linha, at[Valor], Valor, u"falta o valor"_s);
        if (*valor <= 0)
            throw cellError(e.linha, at[Valor], Valor, u"o valor deve ser maior que zero"_s);
        e.valor = *valor;

        const QString key = partKey(e);
        const auto earlier = seen.constFind(key);
        if (earlier == seen.cend()) {
            seen.insert(key, entries.size());
            entries << e;
            continue;
        }
        const PriceListEntry &first = entries.at(*earlier);
        if (first.valor != e.valor || first.un.toCaseFolded() != e.un.toCaseFolded())
            throw cellError(e.linha, at[Prodfabr], Prodfabr,
                u"a marca %1 com o código %2 já está na linha %3 com outro valor ou outra unidade"_s
                    .arg(e.marca.left(40), e.prodfabr.left(40))
                    .arg(first.linha));
    }
    return entries;
}
