#include "store/query.h"

#include "store/sqlcipher.h"
#include "store/store_error.h"
#include "store/stored_value.h"

using namespace Qt::StringLiterals;

namespace {

FieldType typeFromDeclaration(const QString &declared, int *size)
{
    const QString d = declared.toUpper();
    *size = 0;
    if (d.startsWith(u"DATE"))
        return FieldType::Date;
    if (d.startsWith(u"TIME"))
        return FieldType::Time;
    if (d.contains(u"INT"))
        return FieldType::Integer;
    if (d.contains(u"REAL") || d.contains(u"FLOA") || d.contains(u"DOUB"))
        return FieldType::Float;
    const qsizetype open = d.indexOf(u'(');
    if (open >= 0)
        *size = d.mid(open + 1, d.indexOf(u')') - open - 1).trimmed().toInt();
    return FieldType::Text;
}

FieldType typeFromValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
        return FieldType::Float;
    case QMetaType::LongLong:
        return FieldType::Integer;
    default:
        return FieldType::Text;
    }
}

} // namespace

Query::Query(Database &database, const QString &componentName, QObject *parent)
    : Dataset(componentName, parent)
    , m_database(database)
{
    connect(&m_database, &Database::closing, this, [this] { close(); });
}

Query::~Query() = default;

void Query::clearSql()
{
    m_lines.clear();
}

void Query::addSql(const QString &line)
{
    m_lines << line;
}

void Query::setSql(const QStringList &lines)
{
    m_lines = lines;
}

void Query::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name.toCaseFolded(), value);
}

QVariant Query::param(const QString &name) const
{
    return m_params.value(name.toCaseFolded());
}

void Query::setMaster(Dataset *master)
{
    disconnect(m_masterMoved);
    disconnect(m_masterReset);
    m_master = master;
    if (!m_master)
        return;
    m_masterMoved = connect(m_master, &Dataset::currentRowChanged, this, &Query::followMaster);
    m_masterReset = connect(m_master, &Dataset::resetDone, this, &Query::followMaster);
}

void Query::followMaster()
{
    try {
        reload(false);
    } catch (const StoreError &) {
        close(); // no rows for a master row the statement cannot take
    }
}

QVariant Query::valueFor(const QString &name) const
{
    const auto it = m_params.constFind(name.toCaseFolded());
    if (it != m_params.cend())
        return *it;
    if (!m_master)
        fail(u"O parâmetro '%1' não tem valor"_s.arg(name));
    const int column = m_master->fieldIndex(name);
    if (!m_master->isOpen() || column < 0)
        return {};
    return m_master->value(column);
}

Statement Query::prepared() const
{
    if (m_lines.isEmpty())
        fail(u"A consulta não tem comando SQL"_s);
    Statement st(m_database, sqlText());
    for (int i = 1; i <= st.parameterCount(); ++i) {
        const QString name = st.parameterName(i);
        if (name.size() < 2 || name[0] == u'?')
            fail(u"Os parâmetros são dados pelo nome (\":Nome\")"_s);
        st.bind(i, valueFor(name.mid(1)));
    }
    return st;
}

Dataset::RowList Query::load()
{
    m_database.requireOpen();
    Statement st = prepared();
    const int count = st.columnCount();
    if (count == 0)
        fail(u"O comando SQL não devolve linhas"_s);

    // Declared columns by name; the others typed by the statement, and an
    // expression by its first value.
    FieldList fields;
    QList<bool> typed;
    for (int i = 0; i < count; ++i) {
        const QString name = st.columnName(i);
        Field f;
        bool known = false;
        for (const Field &d : m_declared) {
            if (d.name.compare(name, Qt::CaseInsensitive) == 0) {
                f = d;
                known = true;
                break;
            }
        }
        if (!known) {
            f.name = name;
            const QString declared = st.columnDeclaredType(i);
            known = !declared.isEmpty();
            if (known)
                f.type = typeFromDeclaration(declared, &f.size);
        }
        fields << f;
        typed << known;
    }

    RowList rows;
    qint64 ordinal = 0;
    while (st.step()) {
        auto row = std::make_unique<Row>();
        row->id = ordinal++;
        row->values.reserve(count);
        for (int i = 0; i < count; ++i) {
            if (!typed[i] && !st.columnIsNull(i)) {
                fields[i].type = typeFromValue(st.columnValue(i));
                typed[i] = true;
            }
            row->values.append(storedValue(st, i, fields[i].type));
        }
        rows.push_back(std::move(row));
    }
    m_loaded = fields;
    return rows;
}

void Query::columnsLoaded()
{
    setFields(m_loaded);
    bumpGeneration(); // positions of a new result are other rows
}

void Query::execSql()
{
    m_database.requireOpen();
    Statement st = prepared();
    if (m_readOnly && !st.isReadOnly())
        fail(u"Esta consulta é só de leitura e não pode ser alterada"_s);
    m_rowsAffected = m_database.executeTracked(st);
}
