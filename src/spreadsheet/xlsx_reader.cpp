#include "spreadsheet/xlsx_reader.h"

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xml_part.h"
#include "spreadsheet/zip_archive.h"

#include <QDateTime>
#include <QList>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Relationship {
    QString id;
    QString type; // only its last segment: "worksheet", "sharedStrings", ...
    QString target; // the part's name inside the zip
};

// "xl/workbook.xml" -> "xl/_rels/workbook.xml.rels"; "" -> "_rels/.rels".
QString relationshipsOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + u"_rels/"_s + part.mid(slash + 1) + u".rels"_s;
}

// A target relative to the folder of its source part, or absolute from the
// package root.
QString resolveTarget(const QString &source, const QString &target)
{
    const QString decoded = QUrl::fromPercentEncoding(target.toUtf8());
    QStringList parts;
    if (!decoded.startsWith(u'/'))
        parts = source.left(source.lastIndexOf(u'/') + 1).split(u'/', Qt::SkipEmptyParts);
    for (const QString &segment : decoded.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (segment != u".") {
            parts << segment;
        }
    }
    return parts.join(u'/');
}

QList<Relationship> readRelationships(ZipArchive &zip, const QString &source, const XlsxLimits &limits)
{
    QList<Relationship> out;
    const QString relsPart = relationshipsOf(source);
    if (!zip.contains(relsPart))
        return out;
    XmlPart xml(zip, relsPart, limits.maxDepth);
    while (xml.next()) {
        if (!xml.isStart(u"Relationship")
            || xml.attribute(u"TargetMode").compare(u"External"_s, Qt::CaseInsensitive) == 0)
            continue;
        const QString type = xml.attribute(u"Type");
        out << Relationship { xml.attribute(u"Id"), type.mid(type.lastIndexOf(u'/') + 1),
            resolveTarget(source, xml.attribute(u"Target")) };
    }
    return out;
}

// Excel writes characters XML cannot carry as "_xHHHH_".
QString decodeEscapes(const QString &text)
{
    if (!text.contains(u"_x"))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = QStringView(text).mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of a shared or inline string: its own <t>, or the <t> of each
// rich-text run; phonetic guides (<rPh>) are not part of the text.
QString readStringItem(XmlPart &xml)
{
    QString text;
    const int level = xml.depth();
    while (xml.next() && xml.depth() >= level) {
        if (xml.isStart(u"rPh"))
            xml.skip();
        else if (xml.isStart(u"t"))
            text += xml.text();
    }
    return decodeEscapes(text);
}

QStringList readSharedStrings(ZipArchive &zip, const QString &part, const XlsxLimits &limits)
{
    QStringList strings;
    XmlPart xml(zip, part, limits.maxDepth);
    while (xml.next()) {
        if (!xml.isStart(u"si"))
            continue;
        // No sheet within the limits refers to more texts than it has cells.
        if (strings.size() >= limits.maxCells)
            xml.fail(u"passa de %1 textos"_s.arg(limits.maxCells));
        strings << readStringItem(xml);
    }
    return strings;
}

constexpr qint64 MsPerDay = 86400000;
// The day after 31/12/9999, the last day a spreadsheet shows.
constexpr double SerialLimit = 2958466;
// The 1904 date system counts from 01/01/1904, 1462 days after the 1900 one.
constexpr double Serial1904Offset = 1462;

// A serial date in milliseconds, rounded to the nearest, so that a time a
// hair under midnight is the next day; nullopt outside the days shown.
std::optional<qint64> serialMs(double serial)
{
    if (!(serial >= 0 && serial < SerialLimit))
        return std::nullopt;
    return std::llround(serial * double(MsPerDay));
}

// The serial of an ISO 8601 date and time (a "d" cell): a date, a date and
// time or a time alone.
std::optional<double> isoSerial(const QString &text)
{
    const QString trimmed = text.trimmed();
    QDateTime at = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    if (!at.isValid()) {
        const QDate day = QDate::fromString(trimmed, Qt::ISODate);
        if (day.isValid())
            at = QDateTime(day, QTime(0, 0));
    }
    if (at.isValid()) {
        const qint64 days = QDate(1899, 12, 30).daysTo(at.date());
        if (days < 61 || days >= qint64(SerialLimit))
            return std::nullopt;
        return double(days) + at.time().msecsSinceStartOfDay() / double(MsPerDay);
    }
    const QTime time = QTime::fromString(trimmed, Qt::ISODateWithMs);
    if (time.isValid())
        return time.msecsSinceStartOfDay() / double(MsPerDay);
    return std::nullopt;
}

} // namespace

QDate SheetCell::date() const
{
    const std::optional<qint64> ms = serialMs(number);
    if (kind != CellKind::DateTime || !ms || *ms < MsPerDay)
        return {};
    const qint64 day = *ms / MsPerDay;
    // The format counts a 29/02/1900 that never was (serial 60): the days
    // before it are one off.
    return day < 60 ? QDate(1899, 12, 31).addDays(day) : QDate(1899, 12, 30).addDays(day);
}

QTime SheetCell::time() const
{
    const std::optional<qint64> ms = serialMs(number);
    if (kind != CellKind::DateTime || !ms)
        return {};
    return QTime::fromMSecsSinceStartOfDay(int(*ms % MsPerDay));
}

WorksheetReader::WorksheetReader(const QString &path, const XlsxLimits &limits)
    : m_limits(limits)
    , m_zip(std::make_unique<ZipArchive>(path, limits))
{
    ZipArchive &zip = *m_zip;
    QString workbookPart;
    for (const Relationship &rel : readRelationships(zip, QString(), limits)) {
        if (rel.type == u"officeDocument") {
            workbookPart = rel.target;
            break;
        }
    }
    if (workbookPart.isEmpty())
        workbookPart = u"xl/workbook.xml"_s;

    struct SheetEntry {
        QString name;
        QString relId;
    };
    QList<SheetEntry> sheets;
    {
        XmlPart xml(zip, workbookPart, limits.maxDepth);
        while (xml.next()) {
            if (xml.isStart(u"sheet")) {
                sheets << SheetEntry { xml.attribute(u"name"), xml.attribute(u"id") };
            } else if (xml.isStart(u"workbookPr")) {
                const QString date1904 = xml.attribute(u"date1904");
                if (date1904 == u"1" || date1904 == u"true")
                    m_serialOffset = Serial1904Offset;
            }
        }
    }
    const QList<Relationship> rels = readRelationships(zip, workbookPart, limits);
    const auto target = [&rels](const QString &id, QStringView type) -> QString {
        for (const Relationship &rel : rels) {
            if (rel.id == id && rel.type == type)
                return rel.target;
        }
        return {};
    };

    // The first sheet in tab order that is a worksheet (not a chart).
    QString sheetPart;
    for (const SheetEntry &s : sheets) {
        sheetPart = target(s.relId, u"worksheet");
        if (!sheetPart.isEmpty()) {
            m_sheetName = s.name;
            break;
        }
    }
    if (sheetPart.isEmpty())
        throw SpreadsheetError(zip.failure(u"a pasta de trabalho não tem nenhuma planilha"_s));

    bool strings = false;
    bool styles = false;
    for (const Relationship &rel : rels) {
        if (rel.type == u"sharedStrings" && !std::exchange(strings, true))
            m_strings = readSharedStrings(zip, rel.target, limits);
        else if (rel.type == u"styles" && !std::exchange(styles, true))
            m_dateFormats = DateFormats::read(zip, rel.target, limits.maxDepth);
    }
    m_xml = std::make_unique<XmlPart>(zip, sheetPart, limits.maxDepth);
}

WorksheetReader::~WorksheetReader() = default;

const SheetCell &WorksheetReader::cell(int col) const
{
    static const SheetCell empty;
    const auto it = std::lower_bound(m_cells.cbegin(), m_cells.cend(), col,
        [](const StoredCell &c, int wanted) { return c.col < wanted; });
    if (it == m_cells.cend() || it->col != col)
        return empty;
    if (!it->decoded)
        it->decoded = decode(*it);
    return *it->decoded;
}

QList<int> WorksheetReader::cellColumns() const
{
    QList<int> out;
    out.reserve(m_cells.size());
    for (const StoredCell &c : m_cells)
        out << c.col;
    return out;
}

bool WorksheetReader::nextRow(const ColumnSet &columns)
{
    m_cells.clear();
    while (!m_atEnd) {
        if (!m_xml->next()) {
            m_atEnd = true;
        } else if (m_sheetDataDepth < 0) {
            if (m_xml->isStart(u"sheetData"))
                m_sheetDataDepth = m_xml->depth();
        } else if (m_xml->isEnd()) {
            // The end of <sheetData>: what follows it is not read.
            m_atEnd = true;
        } else if (!m_xml->isStart(u"row")) {
            m_xml->skip();
        } else {
            readRow(columns);
            return true;
        }
    }
    return false;
}

void WorksheetReader::readRow(const ColumnSet &columns)
{
    bool placed = false;
    // Rows come in order: a row out of it would be read over another.
    const auto place = [this, &placed](int row) {
        if (row >= m_limits.maxRows)
            m_xml->fail(u"passa de %1 linhas"_s.arg(m_limits.maxRows));
        if (row <= m_row)
            m_xml->fail(u"tem a linha %1 depois da linha %2"_s.arg(row + 1).arg(m_row + 1));
        m_row = row;
        placed = true;
    };
    const QString r = m_xml->attribute(u"r");
    if (!r.isEmpty())
        place(rowNumber(r));
    int col = -1;
    const int level = m_xml->depth();
    while (m_xml->next() && m_xml->depth() >= level) {
        if (!m_xml->isStart(u"c")) {
            if (m_xml->isStart())
                m_xml->skip();
            continue;
        }
        const QString ref = m_xml->attribute(u"r");
        if (ref.isEmpty()) {
            if (!placed)
                place(m_row + 1);
            ++col;
        } else {
            const auto pos = parseCellName(ref);
            if (!pos)
                m_xml->fail(u"tem uma referência de célula inválida: \"%1\""_s.arg(ref.left(20)));
            if (!placed)
                place(pos->row);
            else if (pos->row != m_row)
                m_xml->fail(u"tem a célula %1 dentro da linha %2"_s.arg(ref).arg(m_row + 1));
            col = pos->col;
        }
        if (col >= m_limits.maxColumns)
            m_xml->fail(u"passa de %1 colunas"_s.arg(m_limits.maxColumns));
        storeCell(col, columns.contains(col));
    }
    if (!placed)
        place(m_row + 1);
}

int WorksheetReader::rowNumber(const QString &text) const
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1)
        m_xml->fail(u"tem um número de linha inválido: \"%1\""_s.arg(text.left(20)));
    if (n > m_limits.maxRows)
        m_xml->fail(u"passa de %1 linhas"_s.arg(m_limits.maxRows));
    return n - 1;
}

// A cell as the file holds it, kept for decoding when it is asked for if
// its column is read.
void WorksheetReader::storeCell(int col, bool read)
{
    StoredCell cell;
    cell.col = col;
    if (read) {
        cell.type = m_xml->attribute(u"t");
        cell.style = m_xml->attribute(u"s").toInt(); // none: the first cell format
    }
    bool holds = false;
    const int level = m_xml->depth();
    while (m_xml->next() && m_xml->depth() >= level) {
        if (m_xml->isStart(u"v")) {
            holds = true;
            if (read) {
                cell.value = m_xml->text();
                cell.hasValue = true;
            }
        } else if (m_xml->isStart(u"f")) {
            holds = true;
            if (read) {
                cell.formula = m_xml->text();
                cell.hasFormula = true;
            }
        } else if (m_xml->isStart(u"is")) {
            holds = true;
            if (read) {
                cell.inlineText = readStringItem(*m_xml);
                cell.hasInline = true;
            }
        } else if (m_xml->isStart() && read) {
            m_xml->skip(); // extensions
        }
    }
    if (!holds)
        return; // a style only
    m_usedColumns = std::max(m_usedColumns, col + 1);
    if (!read)
        return;
    if (m_cellCount >= m_limits.maxCells)
        m_xml->fail(u"passa de %1 células preenchidas"_s.arg(m_limits.maxCells));
    ++m_cellCount;
    // Cells come in column order; one out of it is put in its place, and a
    // column named twice keeps the later cell.
    auto it = m_cells.end();
    if (!m_cells.isEmpty() && m_cells.back().col >= col) {
        it = std::lower_bound(m_cells.begin(), m_cells.end(), col,
            [](const StoredCell &c, int wanted) { return c.col < wanted; });
    }
    if (it != m_cells.end() && it->col == col)
        *it = std::move(cell);
    else
        m_cells.insert(it, std::move(cell));
}

SheetCell WorksheetReader::decode(const StoredCell &stored) const
{
    const QString &type = stored.type;
    const QString &value = stored.value;
    const auto where = [&] { return cellName(m_row, stored.col); };
    // An empty <v/> is no value, except for a formula whose result is an
    // empty text.
    const bool hasValue = stored.hasValue && (!value.isEmpty() || type == u"str");
    if (type == u"inlineStr")
        return stored.hasInline ? SheetCell { CellKind::Text, stored.inlineText, 0 } : SheetCell();
    if (!hasValue) {
        // A formula saved without computing it.
        return stored.hasFormula ? SheetCell { CellKind::Uncalculated, stored.formula, 0 } : SheetCell();
    }
    if (type.isEmpty() || type == u"n") {
        bool ok = false;
        const double number = value.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(number))
            m_xml->fail(u"tem um número inválido na célula %1: \"%2\""_s.arg(where(), value.left(40)));
        if (m_dateFormats.isDateTime(stored.style))
            return { CellKind::DateTime, {}, number + m_serialOffset };
        return { CellKind::Number, {}, number };
    }
    if (type == u"s") {
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        if (!ok || index < 0 || index >= m_strings.size())
            m_xml->fail(u"aponta na célula %1 para um texto que não existe"_s.arg(where()));
        return { CellKind::Text, m_strings.at(index), 0 };
    }
    if (type == u"str")
        return value.isEmpty() ? SheetCell() : SheetCell { CellKind::Text, value, 0 };
    if (type == u"d") {
        const std::optional<double> serial = isoSerial(value);
        if (!serial)
            m_xml->fail(u"tem uma data inválida na célula %1: \"%2\""_s.arg(where(), value.left(40)));
        return { CellKind::DateTime, {}, *serial };
    }
    if (type == u"b") {
        const QString b = value.trimmed();
        if (b != u"0" && b != u"1" && b != u"true" && b != u"false")
            m_xml->fail(u"tem um valor lógico inválido na célula %1: \"%2\""_s.arg(where(), value.left(40)));
        return { CellKind::Boolean, {}, (b == u"1" || b == u"true") ? 1.0 : 0.0 };
    }
    if (type == u"e")
        return { CellKind::Error, value, 0 };
    m_xml->fail(u"tem um tipo de célula desconhecido na célula %1: \"%2\""_s.arg(where(), type.left(20)));
}

const SheetCell &Worksheet::cell(int row, int col) const
{
    static const SheetCell empty;
    const auto it = m_cells.constFind(key(row, col));
    return it == m_cells.cend() ? empty : *it;
}

Worksheet readFirstWorksheet(const QString &path, const XlsxLimits &limits, const ColumnSet &columns)
{
    WorksheetReader reader(path, limits);
    Worksheet sheet;
    sheet.m_name = reader.sheetName();
    while (reader.nextRow(columns)) {
        for (int col : reader.cellColumns()) {
            const SheetCell &cell = reader.cell(col);
            if (cell.isEmpty())
                continue;
            sheet.m_cells.insert(Worksheet::key(reader.row(), col), cell);
            sheet.m_rows = reader.row() + 1;
            sheet.m_columns = std::max(sheet.m_columns, col + 1);
        }
    }
    return sheet;
}
