#include "cli/listing.h"

#include "cli/cli.h"
#include "common/regional.h"
#include "store/table.h"
#include "ui/prompts.h"

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

void printRows(CliContext &c, const Dataset &rows, const QStringList &columns)
{
    QList<int> fields;
    for (const QString &name : columns)
        fields << rows.fieldIndex(name);
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList line;
        for (int f : fields)
            line << listed(rows.field(f), rows.value(r, f));
        printRecord(c, line);
    }
    c.out().flush();
}

int printFiltered(CliContext &c, Table &table, const QString &condition, const QVariantList &values,
    const QStringList &columns)
{
    try {
        table.close();
        table.setFilter(condition, values);
        table.setFiltered(true);
        table.open();
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    printRows(c, table, columns);
    return CliOk;
}
