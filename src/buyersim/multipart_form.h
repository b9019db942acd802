#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Reading a multipart/form-data request body into its named fields.
namespace buyersim {

struct FormField {
    QByteArray name;
    QByteArray value; // the bytes as sent
};

struct FormParse {
    QList<FormField> fields;
    QString problem; // empty when the body was read whole

    bool ok() const { return problem.isEmpty(); }
};

// The boundary parameter of a multipart/form-data content type; empty when
// the type is another or names no usable boundary.
QByteArray formBoundary(const QByteArray &contentType);

// Splits a body at its boundary. An empty body is a form without fields.
FormParse parseForm(const QByteArray &body, const QByteArray &boundary);

} // namespace buyersim
