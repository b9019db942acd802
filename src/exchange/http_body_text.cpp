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
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return QString::fromLatin1(body);
}
