#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

class ZipArchive;

// Walks the elements of one XML part of a workbook, matching element and
// attribute names by their local part (the package's namespaces vary between
// writers). A document that is not well-formed, declares a DTD or nests
// deeper than allowed is a SpreadsheetError naming the part.
class XmlPart final {
public:
    XmlPart(ZipArchive &zip, const QString &part, int maxDepth);
    Q_DISABLE_COPY_MOVE(XmlPart)

    // Moves to the next start or end of an element; false at the end of the
    // document.
    bool next();
    bool isStart() const { return m_xml.isStartElement(); }
    bool isEnd() const { return m_xml.isEndElement(); }
    bool isStart(QStringView localName) const { return isStart() && m_xml.name() == localName; }
    bool isEnd(QStringView localName) const { return isEnd() && m_xml.name() == localName; }
    int depth() const { return m_depth; }

    QString attribute(QStringView localName) const;
    // The text inside the current element, which must hold no elements.
    QString text();
    // Moves to the end of the current element, past everything inside it.
    void skip();

    [[noreturn]] void fail(const QString &reason) const;

private:
    ZipArchive &m_zip;
    QString m_part;
    int m_maxDepth;
    QByteArray m_bytes;
    QXmlStreamReader m_xml;
    int m_depth = 0;
};
