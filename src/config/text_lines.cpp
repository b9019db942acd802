#include "config/text_lines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their C1 code,
// as Windows itself maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

QString fromCp1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? kCp1252High[u - 0x80] : char16_t(u));
    }
    return text;
}

QString decodeWith(QStringConverter::Encoding encoding, const QByteArray &bytes)
{
    // Stateless: a sequence cut at the end becomes a replacement character. The
    // mark has been taken off already; a second one is text.
    QStringDecoder decoder(
        encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

QString decodeTextFile(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringConverter::Utf8, bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, bytes.mid(2));
    return fromCp1252(bytes);
}

QStringList splitTextLines(const QString &text)
{
    QStringList lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        lines << text.mid(start, end - start);
        if (end < size && text.at(end) == u'\r')
            ++end;
        if (end < size && text.at(end) == u'\n')
            ++end;
        start = end;
    }
    return lines;
}

TextFile loadTextLines(const QString &path)
{
    TextFile result;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return result;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        result.status = TextFileStatus::Unreadable;
        result.error = QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path),
                               info.isFile() ? file.errorString() : QStringLiteral("não é um arquivo comum"));
        return result;
    }
    result.status = TextFileStatus::Read;
    result.lines = splitTextLines(decodeTextFile(file.read(kMaxTextFileBytes)));
    return result;
}
