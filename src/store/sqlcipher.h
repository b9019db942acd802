#pragma once

#include <QByteArrayView>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

class Database;
class Transaction;

// The text of a failure of the database library, by its (extended) result
// code: in words a supplier can act on for the failures he can meet (a
// duplicate key, a file in use, a full disk); the library's own text for the
// rest, which only a fault of the program's statements gives.
QString storeResultText(int code, const QString &libraryText);

// A prepared statement. Values are always bound, never spliced into SQL.
class Statement final {
public:
    Statement(const Database &database, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    int parameterCount() const;
    QString parameterName(int index) const; // 1-based, with its prefix (":Status")
    int parameterIndex(const char *name) const; // 0 when there is none
    // QString → text, double → real, integers and bool → integer, QDate →
    // "yyyy-MM-dd", QTime → "HH:mm:ss", QDateTime → ISO text, invalid → NULL.
    void bind(int index, const QVariant &value);
    void bindAll(const QVariantList &values); // to ?1, ?2, ...

    // Runs one step: true while a row is ready. Throws StoreError on failure.
    bool step();
    void reset(); // ready to run again; bindings stay
    bool isReadOnly() const;

    int columnCount() const;
    QString columnName(int column) const;
    QString columnDeclaredType(int column) const; // empty for expressions
    bool columnIsNull(int column) const;
    QString columnText(int column) const;
    QByteArrayView columnUtf8(int column) const; // valid until the next step
    double columnDouble(int column) const;
    qint64 columnInt(int column) const;
    QVariant columnValue(int column) const; // by the stored type

    sqlite3_stmt *handle() const { return m_stmt; }

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};

// The store file has SQLCipher 3's format; a library of a later major
// version (its PRAGMA cipher_version, "4.5.6 community") must be told so.
bool needsCipherCompatibility3(const QString &cipherVersion);

// A connection to an encrypted file. Also tells the row sets when a statement
// or a rollback changed tables behind their backs.
class Database final : public QObject {
    Q_OBJECT

public:
    explicit Database(const QString &name = QString(), QObject *parent = nullptr);
    ~Database() override;
    Q_DISABLE_COPY_MOVE(Database)

    // Opens the file with the key and checks the key by reading the schema;
    // a wrong key or a file that is not a store fails with a StoreError.
    // create=false refuses a missing file.
    void open(const QString &path, const QByteArray &key, bool create = false);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    // Runs statements without parameters (schema, pragmas).
    void execute(const QString &sql);
    qint64 lastInsertId() const;
    int changes() const;
    // Tells the row sets that statements of their own wrote these tables.
    void announceWritten(const QStringList &tables) { Q_EMIT tablesChanged(tables); }
    // Tells the row sets that statements of their own wrote (added, changed
    // or deleted) these rows of one table: they re-read those rows alone.
    void announceRowsWritten(const QString &table, const QList<qint64> &rowids)
    {
        Q_EMIT rowsWritten(table, rowids);
    }

    // A guard: auto tx = db.transaction(); ... tx.commit();
    Transaction transaction();
    bool inTransaction() const;
    void begin();
    void commit();
    void rollback();

    // Throws "<name>: Database is not open" when closed.
    void requireOpen() const;
    // A StoreError with the connection's last error text.
    [[noreturn]] void raise(int code) const;

Q_SIGNALS:
    void tablesChanged(const QStringList &tables);
    void rowsWritten(const QString &table, const QList<qint64> &rowids);
    void closing();

private:
    static void onUpdate(void *self, int op, const char *database, const char *table, qint64 rowid);
    void announce(QSet<QString> tables);

    QString m_name;
    QString m_path;
    sqlite3 *m_db = nullptr;
    QSet<QString> m_touchedInTx; // by anything since BEGIN
    QByteArray m_lastTable;
    int m_savepoints = 0;
};

// Commits on commit(); rolls back when it leaves scope without one. Nested
// guards are savepoints of the outer transaction. A batch that must keep the
// rows stored before a bad line cancels the half-written row and commits:
//   auto tx = db.transaction();
//   try { ...append/set/post per line... } catch (const StoreError &) {
//       table.cancel(); tx.commit(); throw; }
//   tx.commit();
// After a rollback every open table re-reads what the file holds.
class Transaction final {
public:
    explicit Transaction(Database &database);
    ~Transaction();
    Q_DISABLE_COPY_MOVE(Transaction)
    void commit();
    void rollback();

private:
    Database &m_database;
    bool m_done = false;
};
