#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A multipart/form-data body of plain-text fields, as a submission posts it.
// The boundary comes from the clock when the form is created.
class MultipartForm final {
public:
    MultipartForm();

    // Adds a field with content type "text/plain", no charset and transfer
    // encoding "8bit". The value goes out as ISO-8859-1 bytes ("?" for any
    // other character), line breaks and "|" included.
    void addField(const QString &name, const QString &value);

    int fieldCount() const { return int(m_fields.size()); }
    const QString &boundary() const { return m_boundary; }
    // "multipart/form-data; boundary=" and the boundary.
    QString contentType() const;
    // Empty when the form has no field.
    QByteArray body() const;

private:
    struct Field {
        QString name;
        QString value;
    };
    QString m_boundary;
    QList<Field> m_fields;
};
