#include "exchange/http_body_text.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// Meta elements belong to the head; looking further is wasted on big bodies.
constexpr qsizetype metaScanLimit = 64 * 1024;

QByteArray unquoted(QByteArray value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2).trimmed();
    return value;
}

QByteArray headerCharset(const QByteArray &contentType)
{
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray part = parts.at(i).trimmed();
        const qsizetype equals = part.indexOf('=');
        if (equals > 0 && part.left(equals).trimmed().toLower() == "charset")
            return unquoted(part.mid(equals + 1));
    }
    return {};
}

// <meta charset="x"> or <meta http-equiv="Content-Type" content="...; charset=x">.
QByteArray metaCharset(const QByteArray &body)
{
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\b[^>]*?\bcharset\s*=\s*["']?\s*([A-Za-z0-9._:\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    QByteArray head = body.left(metaScanLimit);
    const qsizetype bodyTag = head.toLower().indexOf("<body");
    if (bodyTag >= 0)
        head.truncate(bodyTag);
    const QRegularExpressionMatch match = meta.match(QString::fromLatin1(head));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

// windows-1252, which servers in Brazil often declare: Latin-1 but for the
// bytes 80 to 9F hex. Qt knows it only through ICU, which not every build of
// it has (ours for Windows has not): decoded here, the same everywhere.
bool isWindows1252(const QByteArray &charset)
{
    const QByteArray name = charset.toLower();
    return name == "windows-1252" || name == "cp1252" || name == "x-cp1252";
}

QString fromWindows1252(const QByteArray &bytes)
{
    static constexpr char16_t high[32] = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C,
        0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char16_t(byte));
    }
    return text;
}

} // namespace

QString httpBodyText(const QByteArray &body, const QByteArray &contentType)
{
    QByteArray charset = headerCharset(contentType);
    const QByteArray mediaType = contentType.split(';').constFirst().trimmed().toLower();
    if (mediaType == "text/html") {
        const QByteArray declared = metaCharset(body);
        if (!declared.isEmpty())
            charset = declared;
    }
    if (isWindows1252(charset))
        return fromWindows1252(body);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return QString::fromLatin1(body);
}
