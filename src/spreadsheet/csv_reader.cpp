#include "spreadsheet/csv_reader.h"

#include "spreadsheet/spreadsheet_error.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

QString failure(const QString &name, const QString &reason)
{
    return u"Não foi possível ler o arquivo \"%1\": %2."_s.arg(QDir::toNativeSeparators(name), reason);
}

// Windows-1252 is Latin-1 but for 0x80 to 0x9F, where it keeps the euro
// sign, typographic quotes and dashes. Decoded here: not every Qt build has
// the codec, and the table is short. Its five unused bytes stay as they are.
QString fromWindows1252(const QByteArray &bytes)
{
    static constexpr std::array<char16_t, 32> high { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
        0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019,
        0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E,
        0x0178 };
    QString out;
    out.resize(bytes.size());
    QChar *to = out.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *to++ = QChar(u >= 0x80 && u < 0xA0 ? high[u - 0x80] : char16_t(u));
    }
    return out;
}

QString decoded(const QByteArray &bytes, QString &encoding)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = u"UTF-8"_s;
        return QString::fromUtf8(bytes.mid(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        encoding = u"UTF-16"_s;
        QStringDecoder utf16(QStringConverter::Utf16);
        return utf16(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) {
        encoding = u"UTF-8"_s;
        return text;
    }
    encoding = u"Windows-1252"_s;
    return fromWindows1252(bytes);
}

// The separator the first record holds most of, outside quotes; ";" when it
// holds none (a file of one column).
QChar separatorOf(const QString &text)
{
    qsizetype semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\n' || c == u'\r')
            break;
        else if (c == u';')
            ++semicolons;
        else if (c == u',')
            ++commas;
        else if (c == u'\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return u'\t';
    return commas > semicolons ? u',' : u';';
}

} // namespace

CsvFile parseCsv(const QByteArray &bytes, const QString &name)
{
    CsvFile out;
    const QString text = decoded(bytes, out.encoding);
    if (text.contains(QChar(0)))
        throw SpreadsheetError(
            failure(name, u"não é um arquivo de texto separado por ponto e vírgula ou vírgula"_s));
    out.separator = separatorOf(text);

    QStringList record;
    QString field;
    bool inQuotes = false;
    bool wasQuoted = false;
    int quoteLine = 0;
    const auto endField = [&] {
        record << field;
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        // A blank line is a record without fields.
        if (record.isEmpty() && field.isEmpty() && !wasQuoted)
            out.rows << QStringList();
        else {
            endField();
            out.rows << record;
        }
        record.clear();
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < n && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            inQuotes = true;
            wasQuoted = true;
            quoteLine = int(out.rows.size()) + 1;
        } else if (c == out.separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
        } else {
            field += c; // a stray quote inside a field is kept as it is
        }
    }
    if (inQuotes)
        throw SpreadsheetError(
            failure(name, u"a linha %1 abre aspas que não se fecham até o fim do arquivo"_s.arg(quoteLine)));
    if (!record.isEmpty() || !field.isEmpty() || wasQuoted)
        endRecord();
    return out;
}

CsvFile readCsvFile(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SpreadsheetError(failure(path, file.errorString()));
    if (file.size() > maxBytes)
        throw SpreadsheetError(failure(path, u"o arquivo tem mais de %1 MB"_s.arg(maxBytes / (1024 * 1024))));
    // Read in pieces: asking read() for the whole limit reserves that much
    // memory up front, however small the file. The size above may not be
    // the end (a file still growing, a device), so the limit holds here too.
    constexpr qint64 Piece = 1 << 20;
    QByteArray bytes;
    while (true) {
        const QByteArray piece = file.read(std::min(Piece, maxBytes + 1 - bytes.size()));
        if (file.error() != QFileDevice::NoError)
            throw SpreadsheetError(failure(path, file.errorString()));
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > maxBytes)
            throw SpreadsheetError(
                failure(path, u"o arquivo tem mais de %1 MB"_s.arg(maxBytes / (1024 * 1024))));
    }
    return parseCsv(bytes, path);
}
