#include "spreadsheet/date_formats.h"

#include "spreadsheet/xml_part.h"

#include <QHash>
#include <QList>

using namespace Qt::StringLiterals;

bool isBuiltInDateTimeFormat(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47)
        || (id >= 50 && id <= 58);
}

namespace {

bool isDateTimeCode(QChar c)
{
    switch (c.toLower().unicode()) {
    case u'd':
    case u'm':
    case u'y':
    case u'h':
    case u's':
        return true;
    default:
        return false;
    }
}

// "[h]", "[mm]", "[ss]": hours, minutes or seconds elapsed.
bool isElapsedTime(QStringView inside)
{
    if (inside.isEmpty())
        return false;
    const QChar first = inside.front().toLower();
    if (first != u'h' && first != u'm' && first != u's')
        return false;
    for (QChar c : inside) {
        if (c.toLower() != first)
            return false;
    }
    return true;
}

} // namespace

bool isDateTimeFormatCode(QStringView code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        switch (code[i].unicode()) {
        case u'"': // literal text
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                return false;
            break;
        case u'\\': // an escaped character
        case u'_': // a blank as wide as the next character
        case u'*': // the next character repeated to fill the cell
            ++i;
            break;
        case u'[': {
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0)
                return false;
            if (isElapsedTime(code.mid(i + 1, end - i - 1)))
                return true;
            i = end; // a colour, a condition, a locale or currency
            break;
        }
        default:
            if (isDateTimeCode(code[i]))
                return true;
        }
    }
    return false;
}

DateFormats DateFormats::read(ZipArchive &zip, const QString &part, int maxDepth)
{
    QHash<int, bool> custom; // numFmtId -> date or time
    QList<int> cellFormats; // the numFmtId of each cell format, in order
    // Only the formats of the lists themselves: a conditional format (dxf)
    // carries its own, and cell styles (cellStyleXfs) are not cell formats.
    int numFmtsDepth = -1;
    int cellXfsDepth = -1;
    XmlPart xml(zip, part, maxDepth);
    while (xml.next()) {
        if (xml.isStart(u"numFmts")) {
            numFmtsDepth = xml.depth();
        } else if (xml.isStart(u"cellXfs")) {
            cellXfsDepth = xml.depth();
        } else if (xml.isEnd(u"numFmts")) {
            numFmtsDepth = -1;
        } else if (xml.isEnd(u"cellXfs")) {
            cellXfsDepth = -1;
        } else if (xml.isStart(u"numFmt") && numFmtsDepth >= 0 && xml.depth() == numFmtsDepth + 1) {
            bool ok = false;
            const int id = xml.attribute(u"numFmtId").toInt(&ok);
            if (ok)
                custom.insert(id, isDateTimeFormatCode(xml.attribute(u"formatCode")));
        } else if (xml.isStart(u"xf") && cellXfsDepth >= 0 && xml.depth() == cellXfsDepth + 1) {
            cellFormats << xml.attribute(u"numFmtId").toInt(); // none or unreadable: General
        }
    }
    DateFormats formats;
    formats.m_dateTime.resize(cellFormats.size());
    for (qsizetype i = 0; i < cellFormats.size(); ++i) {
        const int id = cellFormats.at(i);
        const auto it = custom.constFind(id);
        if (it == custom.cend() ? isBuiltInDateTimeFormat(id) : *it)
            formats.m_dateTime.setBit(i);
    }
    return formats;
}
