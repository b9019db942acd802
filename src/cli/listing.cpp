#include "cli/listing.h"

#include "cli/cli.h"
#include "common/regional.h"
#include "store/field.h"

using namespace Qt::StringLiterals;

QString listingText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == u'\\')
            out += u"\\\\"_s;
        else if (ch == u'\r')
            out += u"\\r"_s;
        else if (ch == u'\n')
            out += u"\\n"_s;
        else if (ch == u'|')
            out += u"\\|"_s;
        else
            out += ch;
    }
    return out;
}

QString listed(const Field &field, const QVariant &value)
{
    if (!value.isValid())
        return {};
    switch (field.type) {
    case FieldType::Date:
        return plainDate(value.toDate());
    case FieldType::Time:
        return plainTime(value.toTime());
    case FieldType::Float:
    case FieldType::Integer:
        return plainNumber(value.toDouble());
    case FieldType::Text:
        break;
    }
    return listingText(value.toString());
}

void printRecord(CliContext &c, const QStringList &fields)
{
    c.out() << fields.join(u'|') << '\n';
}
