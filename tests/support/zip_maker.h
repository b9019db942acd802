#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

#include <zip.h>

// Builds zip files for tests, entry by entry, with minizip's writer.
class ZipMaker final {
public:
    ZipMaker &add(const QString &name, const QByteArray &bytes, bool deflate = true);
    // Writes the zip; false when it could not.
    bool save(const QString &path) const;
    QByteArray bytes() const;

private:
    QList<QPair<QString, QPair<QByteArray, bool>>> m_entries;
};

// The parts of a minimal workbook whose first sheet is sheetData (the
// <sheetData> content), whose shared strings are sharedStrings and whose
// styles are styles (the <styleSheet> content; no part when empty). The
// sheet is stored under a name other than sheet1.xml, after a chart sheet in
// the relationships, so that the reader must follow them.
inline ZipMaker workbookZip(const QByteArray &sheetData, const QByteArray &sharedStrings = {},
    const QByteArray &styles = {}, bool date1904 = false);

inline ZipMaker &ZipMaker::add(const QString &name, const QByteArray &bytes, bool deflate)
{
    m_entries.append({ name, { bytes, deflate } });
    return *this;
}

inline bool ZipMaker::save(const QString &path) const
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const auto &[name, entry] : m_entries) {
        const auto &[bytes, deflate] = entry;
        zip_fileinfo info {};
        ok = ok
            && zipOpenNewFileInZip64(zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                   deflate ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION, 1)
                == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

inline QByteArray ZipMaker::bytes() const
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("z.zip"));
    if (!save(path))
        return {};
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline ZipMaker workbookZip(
    const QByteArray &sheetData, const QByteArray &sharedStrings, const QByteArray &styles, bool date1904)
{
    ZipMaker zip;
    zip.add(QStringLiteral("[Content_Types].xml"),
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>");
    zip.add(QStringLiteral("_rels/.rels"),
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"xl/book.xml\"/></Relationships>");
    zip.add(QStringLiteral("xl/book.xml"),
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
            + QByteArray(date1904 ? "<workbookPr date1904=\"1\"/>" : "")
            + "<sheets>"
              "<sheet name=\"Gráfico\" sheetId=\"3\" r:id=\"rId7\"/>"
              "<sheet name=\"Itens\" sheetId=\"2\" r:id=\"rId5\"/>"
              "<sheet name=\"Outra\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    QByteArray rels
        = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
          "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/chartsheet\" Target=\"chartsheets/sheet1.xml\"/>"
          "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
          "relationships/worksheet\" Target=\"/xl/worksheets/../worksheets/dados.xml\"/>";
    if (!sharedStrings.isEmpty())
        rels += "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/sharedStrings\" Target=\"strings.xml\"/>";
    if (!styles.isEmpty())
        rels += "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                "relationships/styles\" Target=\"estilos.xml\"/>";
    rels += "</Relationships>";
    zip.add(QStringLiteral("xl/_rels/book.xml.rels"), rels);
    zip.add(QStringLiteral("xl/worksheets/sheet1.xml"),
        "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>wrong sheet</t></is></c></row>"
        "</sheetData></worksheet>");
    zip.add(QStringLiteral("xl/worksheets/dados.xml"),
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
            + sheetData + "</sheetData></worksheet>");
    if (!sharedStrings.isEmpty())
        zip.add(QStringLiteral("xl/strings.xml"),
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + sharedStrings
                + "</sst>");
    if (!styles.isEmpty())
        zip.add(QStringLiteral("xl/estilos.xml"),
            "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" + styles
                + "</styleSheet>");
    return zip;
}
