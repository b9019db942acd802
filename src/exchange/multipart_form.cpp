#include "exchange/multipart_form.h"

#include "common/clock.h"

namespace {

// One byte per character: up to U+00FF its own byte, any other "?". The
// field name also loses CR, LF and NUL, which would break the part's head.
QByteArray latin1Bytes(const QString &text, bool dropLineBreaks)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (dropLineBreaks && (c == '\r' || c == '\n' || c == 0))
            continue;
        out += c <= 0xFF ? char(c) : '?';
    }
    return out;
}

} // namespace

MultipartForm::MultipartForm()
    : m_boundary(
        QStringLiteral("--------") + Clock::current().now().toString(QStringLiteral("MMddyyHHmmsszzz")))
{
}

void MultipartForm::addField(const QString &name, const QString &value)
{
    m_fields.append({ name, value });
}

QString MultipartForm::contentType() const
{
    return QStringLiteral("multipart/form-data; boundary=") + m_boundary;
}

QByteArray MultipartForm::body() const
{
    if (m_fields.isEmpty())
        return {};
    const QByteArray dashes = "--" + m_boundary.toLatin1();
    QByteArray out;
    for (const Field &field : m_fields) {
        out += dashes + "\r\n";
        out += "Content-Disposition: form-data; name=\"" + latin1Bytes(field.name, true) + "\"\r\n";
        out += "Content-Type: text/plain\r\n";
        out += "Content-Transfer-Encoding: 8bit\r\n";
        out += "\r\n";
        out += latin1Bytes(field.value, false) + "\r\n";
    }
    out += dashes + "--\r\n";
    return out;
}
