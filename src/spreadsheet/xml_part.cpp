#include "spreadsheet/xml_part.h"

#include "spreadsheet/spreadsheet_error.h"
#include "spreadsheet/zip_archive.h"

using namespace Qt::StringLiterals;

XmlPart::XmlPart(ZipArchive &zip, const QString &part, int maxDepth)
    : m_zip(zip)
    , m_part(part)
    , m_maxDepth(maxDepth)
    , m_bytes(zip.read(part))
    , m_xml(m_bytes)
{
}

void XmlPart::fail(const QString &reason) const
{
    throw SpreadsheetError(m_zip.failure(u"a parte \"%1\" %2"_s.arg(m_part, reason)));
}

bool XmlPart::next()
{
    for (;;) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++m_depth > m_maxDepth)
                fail(u"passa de %1 níveis de elementos"_s.arg(m_maxDepth));
            return true;
        case QXmlStreamReader::EndElement:
            --m_depth;
            return true;
        case QXmlStreamReader::DTD:
            // No workbook needs one, and entities are a way to blow up memory.
            fail(u"declara um DTD, o que não é aceito"_s);
        case QXmlStreamReader::EndDocument:
            return false;
        case QXmlStreamReader::Invalid:
            fail(u"não é um XML válido (linha %1, coluna %2)"_s.arg(m_xml.lineNumber())
                     .arg(m_xml.columnNumber()));
        default:
            break;
        }
    }
}

QString XmlPart::attribute(QStringView localName) const
{
    for (const QXmlStreamAttribute &a : m_xml.attributes()) {
        if (a.name() == localName)
            return a.value().toString();
    }
    return {};
}

QString XmlPart::text()
{
    QString out;
    for (;;) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            out += m_xml.text();
            break;
        case QXmlStreamReader::EndElement:
            --m_depth;
            return out;
        case QXmlStreamReader::StartElement:
            fail(u"tem um elemento inesperado dentro de um texto (linha %1)"_s.arg(m_xml.lineNumber()));
        case QXmlStreamReader::Invalid:
        case QXmlStreamReader::EndDocument:
            fail(u"não é um XML válido (linha %1, coluna %2)"_s.arg(m_xml.lineNumber())
                     .arg(m_xml.columnNumber()));
        default:
            break;
        }
    }
}

void XmlPart::skip()
{
    const int level = m_depth;
    while (m_depth >= level) {
        if (!next())
            fail(u"termina antes de fechar seus elementos"_s);
    }
}
