#include "buyersim/multipart_form.h"

#include <QPair>

using namespace Qt::StringLiterals;

namespace buyersim {

namespace {

struct HeaderValue {
    QByteArray main; // "multipart/form-data", "form-data"
    QList<QPair<QByteArray, QByteArray>> parameters; // names in lower case
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// value; name=token; name="quoted \" string"
HeaderValue parseHeaderValue(const QByteArray &text)
{
    HeaderValue result;
    qsizetype i = text.indexOf(';');
    result.main = text.left(i < 0 ? text.size() : i).trimmed().toLower();
    while (i >= 0 && i < text.size()) {
        ++i; // past ';'
        const qsizetype equals = text.indexOf('=', i);
        const qsizetype nextSemicolon = text.indexOf(';', i);
        if (equals < 0 || (nextSemicolon >= 0 && nextSemicolon < equals)) {
            i = nextSemicolon;
            continue;
        }
        const QByteArray name = text.mid(i, equals - i).trimmed().toLower();
        i = equals + 1;
        while (i < text.size() && isBlank(text.at(i)))
            ++i;
        QByteArray value;
        if (i < text.size() && text.at(i) == '"') {
            for (++i; i < text.size() && text.at(i) != '"'; ++i) {
                if (text.at(i) == '\\' && i + 1 < text.size())
                    ++i;
                value += text.at(i);
            }
            i = text.indexOf(';', i);
        } else {
            const qsizetype end = text.indexOf(';', i);
            value = text.mid(i, end < 0 ? -1 : end - i).trimmed();
            i = end;
        }
        result.parameters.append({ name, value });
    }
    return result;
}

QByteArray parameter(const HeaderValue &header, const QByteArray &name)
{
    for (const auto &[key, value] : header.parameters)
        if (key == name)
            return value;
    return {};
}

// The name of a part from its header lines; empty when it has none.
QByteArray fieldName(const QByteArray &headers)
{
    for (const QByteArray &line : headers.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-disposition")
            continue;
        const HeaderValue value = parseHeaderValue(line.mid(colon + 1).trimmed());
        if (value.main == "form-data")
            return parameter(value, "name");
    }
    return {};
}

FormParse failed(const QString &problem)
{
    return FormParse { {}, problem };
}

} // namespace

QByteArray formBoundary(const QByteArray &contentType)
{
    const HeaderValue value = parseHeaderValue(contentType);
    if (value.main != "multipart/form-data")
        return {};
    const QByteArray boundary = parameter(value, "boundary");
    if (boundary.size() > 70 || boundary.contains('\r') || boundary.contains('\n'))
        return {};
    return boundary;
}

FormParse parseForm(const QByteArray &body, const QByteArray &boundary)
{
    if (body.isEmpty())
        return {};
    if (boundary.isEmpty())
        return failed(u"tipo multipart/form-data sem boundary"_s);

    const QByteArray delimiter = "--" + boundary;
    const QByteArray lineDelimiter = "\r\n" + delimiter;
    qsizetype pos = 0;
    if (!body.startsWith(delimiter)) {
        pos = body.indexOf(lineDelimiter);
        if (pos < 0)
            return failed(u"boundary não encontrado no corpo"_s);
        pos += 2;
    }

    FormParse result;
    for (;;) {
        pos += delimiter.size();
        if (body.mid(pos, 2) == "--")
            return result;
        while (pos < body.size() && isBlank(body.at(pos)))
            ++pos;
        if (pos >= body.size())
            return failed(u"corpo truncado: falta o boundary final"_s);
        if (body.mid(pos, 2) != "\r\n")
            return failed(u"linha de boundary malformada na posição %1"_s.arg(pos));
        pos += 2;

        QByteArray headers;
        qsizetype valueStart = pos + 2;
        if (body.mid(pos, 2) != "\r\n") {
            const qsizetype end = body.indexOf("\r\n\r\n", pos);
            if (end < 0)
                return failed(u"cabeçalho de parte sem fim"_s);
            headers = body.mid(pos, end - pos);
            valueStart = end + 4;
        }
        const qsizetype next = body.indexOf(lineDelimiter, valueStart);
        if (next < 0)
            return failed(u"corpo truncado: parte sem boundary seguinte"_s);
        const QByteArray name = fieldName(headers);
        if (name.isEmpty())
            return failed(u"parte sem Content-Disposition form-data com name"_s);
        result.fields.append({ name, body.mid(valueStart, next - valueStart) });
        pos = next + 2;
    }
}

} // namespace buyersim
