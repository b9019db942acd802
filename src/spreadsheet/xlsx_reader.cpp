#include "spreadsheet/xlsx_reader.h"

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/xml_part.h"
#include "spreadsheet/zip_archive.h"

#include <QList>
#include <QUrl>

#include <cmath>

using namespace Qt::StringLiterals;

const SheetCell &Worksheet::cell(int row, int col) const
{
    static const SheetCell empty;
    const auto it = m_cells.constFind(key(row, col));
    return it == m_cells.cend() ? empty : *it;
}

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
        if (xml.isStart(u"si"))
            strings << readStringItem(xml);
    }
    return strings;
}

} // namespace

// Fills a Worksheet from the sheet part, keeping to the limits.
class WorksheetBuilder final {
public:
    WorksheetBuilder(XmlPart &xml, const QStringList &sharedStrings, const XlsxLimits &limits)
        : m_xml(xml)
        , m_strings(sharedStrings)
        , m_limits(limits)
    {
    }

    Worksheet build(const QString &name)
    {
        m_sheet.m_name = name;
        int row = -1;
        int col = -1;
        bool inRow = false;
        while (m_xml.next()) {
            if (m_xml.isStart(u"row")) {
                const QString r = m_xml.attribute(u"r");
                row = r.isEmpty() ? row + 1 : rowNumber(r);
                col = -1;
                inRow = true;
            } else if (m_xml.isEnd(u"row")) {
                inRow = false;
            } else if (m_xml.isStart(u"c") && inRow) {
                const QString r = m_xml.attribute(u"r");
                if (r.isEmpty()) {
                    ++col;
                } else {
                    const auto pos = parseCellName(r);
                    if (!pos)
                        m_xml.fail(u"tem uma referência de célula inválida: \"%1\""_s.arg(r));
                    row = pos->row;
                    col = pos->col;
                }
                readCell(row, col);
            }
        }
        return std::move(m_sheet);
    }

private:
    int rowNumber(const QString &text) const
    {
        bool ok = false;
        const int n = text.toInt(&ok);
        if (!ok || n < 1)
            m_xml.fail(u"tem um número de linha inválido: \"%1\""_s.arg(text));
        if (n > m_limits.maxRows)
            m_xml.fail(u"passa de %1 linhas"_s.arg(m_limits.maxRows));
        return n - 1;
    }

    void readCell(int row, int col)
    {
        if (row >= m_limits.maxRows || row < 0)
            m_xml.fail(u"passa de %1 linhas"_s.arg(m_limits.maxRows));
        if (col >= m_limits.maxColumns)
            m_xml.fail(u"passa de %1 colunas"_s.arg(m_limits.maxColumns));
        const QString type = m_xml.attribute(u"t");
        QString value;
        QString inlineText;
        bool hasValue = false;
        bool hasInline = false;
        const int level = m_xml.depth();
        while (m_xml.next() && m_xml.depth() >= level) {
            if (m_xml.isStart(u"v")) {
                value = m_xml.text();
                hasValue = true;
            } else if (m_xml.isStart(u"is")) {
                inlineText = readStringItem(m_xml);
                hasInline = true;
            } else if (m_xml.isStart()) {
                m_xml.skip(); // formulas and extensions
            }
        }
        SheetCell cell;
        const QString where = cellName(row, col);
        if (type == u"inlineStr") {
            if (hasInline)
                cell = { CellKind::Text, inlineText, 0 };
        } else if (!hasValue) {
            // A formula never computed, or a cell with a style only.
        } else if (type.isEmpty() || type == u"n") {
            bool ok = false;
            const double number = value.trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(number))
                m_xml.fail(u"tem um número inválido na célula %1: \"%2\""_s.arg(where, value.left(40)));
            cell = { CellKind::Number, {}, number };
        } else if (type == u"s") {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_strings.size())
                m_xml.fail(u"aponta na célula %1 para um texto que não existe"_s.arg(where));
            cell = { CellKind::Text, m_strings.at(index), 0 };
        } else if (type == u"str" || type == u"d") {
            cell = { CellKind::Text, value, 0 };
        } else if (type == u"b") {
            const QString b = value.trimmed();
            if (b != u"0" && b != u"1" && b != u"true" && b != u"false")
                m_xml.fail(u"tem um valor lógico inválido na célula %1: \"%2\""_s.arg(where, value.left(40)));
            cell = { CellKind::Boolean, {}, (b == u"1" || b == u"true") ? 1.0 : 0.0 };
        } else if (type == u"e") {
            cell = { CellKind::Error, value, 0 };
        } else {
            m_xml.fail(
                u"tem um tipo de célula desconhecido na célula %1: \"%2\""_s.arg(where, type.left(20)));
        }
        if (cell.isEmpty())
            return;
        const quint64 key = Worksheet::key(row, col);
        if (!m_sheet.m_cells.contains(key) && m_sheet.m_cells.size() >= m_limits.maxCells)
            m_xml.fail(u"passa de %1 células preenchidas"_s.arg(m_limits.maxCells));
        m_sheet.m_cells.insert(key, std::move(cell));
        m_sheet.m_rows = std::max(m_sheet.m_rows, row + 1);
        m_sheet.m_columns = std::max(m_sheet.m_columns, col + 1);
    }

    XmlPart &m_xml;
    const QStringList &m_strings;
    const XlsxLimits &m_limits;
    Worksheet m_sheet;
};

Worksheet readFirstWorksheet(const QString &path, const XlsxLimits &limits)
{
    ZipArchive zip(path, limits);

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
            if (xml.isStart(u"sheet"))
                sheets << SheetEntry { xml.attribute(u"name"), xml.attribute(u"id") };
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
    QString sheetName;
    for (const SheetEntry &s : sheets) {
        sheetPart = target(s.relId, u"worksheet");
        if (!sheetPart.isEmpty()) {
            sheetName = s.name;
            break;
        }
    }
    if (sheetPart.isEmpty())
        throw SpreadsheetError(zip.failure(u"a pasta de trabalho não tem nenhuma planilha"_s));

    QStringList sharedStrings;
    for (const Relationship &rel : rels) {
        if (rel.type == u"sharedStrings") {
            sharedStrings = readSharedStrings(zip, rel.target, limits);
            break;
        }
    }
    XmlPart xml(zip, sheetPart, limits.maxDepth);
    return WorksheetBuilder(xml, sharedStrings, limits).build(sheetName);
}
