#include "store/sqlcipher.h"

#include "common/regional.h"
#include "store/store_error.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

QString storeResultText(int code, const QString &libraryText)
{
    switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
        // A trigger's refusal says its own words; empty columns never get here.
        if (code == SQLITE_CONSTRAINT_PRIMARYKEY || code == SQLITE_CONSTRAINT_UNIQUE)
            return u"Violação de chave: já existe um registro com esta chave."_s;
        return libraryText;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return u"O banco de dados está em uso por outro programa; tente de novo em instantes."_s;
    case SQLITE_FULL:
        return u"O disco está cheio: o banco de dados não pôde ser gravado."_s;
    case SQLITE_IOERR:
        return u"Falha de leitura ou gravação no disco do banco de dados."_s;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return u"Sem permissão para gravar no banco de dados."_s;
    case SQLITE_CANTOPEN:
        return u"O arquivo do banco de dados não pôde ser aberto."_s;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return u"O arquivo do banco de dados está danificado ou não é um banco de dados."_s;
    case SQLITE_NOMEM:
        return u"Falta memória para a operação no banco de dados."_s;
    default:
        return libraryText;
    }
}

namespace {

QString errorText(sqlite3 *db, int code)
{
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    return storeResultText(extended, QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code)));
}

// The one-row, one-column answer of a pragma; empty when there is none.
QString pragmaText(sqlite3 *db, const char *pragma)
{
    sqlite3_stmt *st = nullptr;
    QString text;
    if (sqlite3_prepare_v2(db, pragma, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return text;
}

// A store copied in or made by another tool may be readable by others: once
// opened here it is its owner's alone, as a store made here is, and so are
// the journals the library writes beside it, which take its permissions. A
// file of another user stays as it is.
void keepPrivate(const QString &path)
{
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions now = QFile::permissions(path);
    if (now & others)
        QFile::setPermissions(path, now & ~others);
}

} // namespace

bool needsCipherCompatibility3(const QString &cipherVersion)
{
    qsizetype end = 0;
    while (end < cipherVersion.size() && cipherVersion[end].isDigit())
        ++end;
    return cipherVersion.left(end).toInt() > 3;
}

// ---- Statement --------------------------------------------------------------

Statement::Statement(const Database &database, const QString &sql)
    : m_db(database.handle())
{
    database.requireOpen();
    const QByteArray utf8 = sql.toUtf8();
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK)
        throw StoreError(errorText(m_db, rc));
    if (!m_stmt)
        throw StoreError(u"O comando SQL está vazio"_s);
    for (; tail && *tail; ++tail) {
        if (*tail != ';' && !QChar::isSpace(uchar(*tail))) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            throw StoreError(u"Só um comando SQL pode ser executado por vez"_s);
        }
    }
}

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db)
    , m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

int Statement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_stmt);
}

QString Statement::parameterName(int index) const
{
    return QString::fromUtf8(sqlite3_bind_parameter_name(m_stmt, index));
}

int Statement::parameterIndex(const char *name) const
{
    return sqlite3_bind_parameter_index(m_stmt, name);
}

void Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    const auto text = [&](const QString &s) {
        const QByteArray utf8 = s.toUtf8();
        return sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    };
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::QString:
            rc = text(value.toString());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::QDate:
            rc = value.toDate().isValid() ? text(isoDateText(value.toDate()))
                                          : sqlite3_bind_null(m_stmt, index);
            break;
        case QMetaType::QTime:
            rc = value.toTime().isValid() ? text(isoTimeText(value.toTime()))
                                          : sqlite3_bind_null(m_stmt, index);
            break;
        case QMetaType::QDateTime: {
            const QDateTime at = value.toDateTime();
            rc = at.isValid() ? text(isoDateText(at.date()) + u'T' + isoTimeText(at.time()))
                              : sqlite3_bind_null(m_stmt, index);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            rc = text(value.toString());
        }
    }
    if (rc != SQLITE_OK)
        throw StoreError(errorText(m_db, rc));
}

void Statement::bindAll(const QVariantList &values)
{
    if (values.size() > parameterCount())
        throw StoreError(
            u"O comando SQL tem %1 parâmetro(s), e foram dados %2 valor(es)"_s.arg(parameterCount())
                .arg(values.size()));
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values[i]);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString message = errorText(m_db, rc);
    sqlite3_reset(m_stmt);
    throw StoreError(message);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

bool Statement::isReadOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString Statement::columnDeclaredType(int column) const
{
    return QString::fromUtf8(sqlite3_column_decltype(m_stmt, column));
}

bool Statement::columnIsNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::columnText(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView Statement::columnUtf8(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_stmt, column));
}

double Statement::columnDouble(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

qint64 Statement::columnInt(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QVariant Statement::columnValue(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return columnInt(column);
    case SQLITE_FLOAT:
        return columnDouble(column);
    case SQLITE_TEXT:
        return columnText(column);
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
        return QByteArray(data, sqlite3_column_bytes(m_stmt, column));
    }
    default:
        return {};
    }
}

// ---- Database ---------------------------------------------------------------

Database::Database(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
{
}

Database::~Database()
{
    close();
}

void Database::open(const QString &path, const QByteArray &key, bool create)
{
    close();
    const QString full = QFileInfo(path).absoluteFilePath();
    const QString prefix = m_name.isEmpty() ? QString() : m_name + u": "_s;
    if (!create && !QFileInfo::exists(full))
        throw StoreError(prefix + u"Database file '%1' does not exist"_s.arg(full));

    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(full.toUtf8().constData(), &db, flags, nullptr);
    const auto fail = [&](const QString &message) {
        sqlite3_close(db);
        throw StoreError(prefix + message);
    };
    if (rc != SQLITE_OK)
        fail(u"Não foi possível abrir o banco de dados '%1': %2"_s.arg(full, errorText(db, rc)));
    sqlite3_extended_result_codes(db, 1);
    // The same as PRAGMA key, without putting the key into statement text.
    rc = sqlite3_key(db, key.constData(), int(key.size()));
    if (rc != SQLITE_OK)
        fail(u"Não foi possível abrir o banco de dados '%1': %2"_s.arg(full, errorText(db, rc)));
    // Told before the first read, or a newer library reads no page of the file.
    const QString version = pragmaText(db, "PRAGMA cipher_version");
    if (version.isEmpty())
        fail(u"Não foi possível abrir o banco de dados '%1': a biblioteca do banco de dados não cifra"_s.arg(
            full));
    if (needsCipherCompatibility3(version)) {
        rc = sqlite3_exec(db, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            fail(u"Não foi possível abrir o banco de dados '%1': %2"_s.arg(full, errorText(db, rc)));
    }
    // A wrong key only shows on the first read.
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB)
        fail(u"O banco de dados '%1' não pode ser aberto: senha errada ou não é um banco de dados"_s.arg(
            full));
    if (rc != SQLITE_OK)
        fail(u"Não foi possível abrir o banco de dados '%1': %2"_s.arg(full, errorText(db, rc)));
    // Room for a download of ten thousand items without spilling pages.
    sqlite3_exec(db, "PRAGMA cache_size = -32000", nullptr, nullptr, nullptr);

    m_db = db;
    m_path = full;
    sqlite3_update_hook(m_db, &Database::onUpdate, this);
    keepPrivate(full);
}

void Database::close()
{
    if (!m_db)
        return;
    Q_EMIT closing(); // row sets drop their statements first
    if (inTransaction())
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_update_hook(m_db, nullptr, nullptr);
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_path.clear();
    m_touchedInTx.clear();
    m_savepoints = 0;
}

void Database::requireOpen() const
{
    if (!m_db)
        throw StoreError(
            (m_name.isEmpty() ? QString() : m_name + u": "_s) + u"O banco de dados não está aberto"_s);
}

void Database::raise(int code) const
{
    throw StoreError(errorText(m_db, code));
}

void Database::execute(const QString &sql)
{
    requireOpen();
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        throw StoreError(storeResultText(sqlite3_extended_errcode(m_db), message));
    }
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

Transaction Database::transaction()
{
    return Transaction(*this);
}

bool Database::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void Database::begin()
{
    if (inTransaction()) {
        execute(u"SAVEPOINT kelvo_%1"_s.arg(++m_savepoints));
        return;
    }
    execute(u"BEGIN"_s);
    m_touchedInTx.clear();
    m_lastTable.clear();
}

void Database::commit()
{
    if (m_savepoints > 0) {
        execute(u"RELEASE kelvo_%1"_s.arg(m_savepoints--));
        return;
    }
    execute(u"COMMIT"_s);
    m_touchedInTx.clear();
    m_lastTable.clear();
}

void Database::rollback()
{
    if (m_savepoints > 0) {
        const int n = m_savepoints--;
        execute(u"ROLLBACK TO kelvo_%1"_s.arg(n));
        execute(u"RELEASE kelvo_%1"_s.arg(n));
        announce(m_touchedInTx); // what the row sets hold may be undone
        return;
    }
    if (inTransaction())
        execute(u"ROLLBACK"_s);
    QSet<QString> touched;
    touched.swap(m_touchedInTx);
    m_lastTable.clear();
    announce(touched);
}

void Database::onUpdate(void *self, int, const char *, const char *table, qint64)
{
    auto *db = static_cast<Database *>(self);
    if (db->m_lastTable == table)
        return; // rows come in runs of one table; this one is noted already
    db->m_lastTable = table;
    const QString name = QString::fromUtf8(table);
    if (db->inTransaction())
        db->m_touchedInTx.insert(name);
}

void Database::announce(QSet<QString> tables)
{
    if (tables.isEmpty())
        return;
    Q_EMIT tablesChanged(QStringList(tables.cbegin(), tables.cend()));
}

// ---- Transaction ------------------------------------------------------------

Transaction::Transaction(Database &database)
    : m_database(database)
{
    m_database.begin();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_database.rollback();
    } catch (const StoreError &) {
        // Leaving scope on an error already under way: the first error wins.
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    m_database.commit();
    m_done = true;
}

void Transaction::rollback()
{
    if (m_done)
        return;
    m_done = true;
    m_database.rollback();
}
