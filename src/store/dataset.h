#pragma once

#include "store/field.h"
#include "store/store_error.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <vector>

// A place in a dataset that survives moves, edits and re-opening (for
// tables: the row's id in the file). Value type: free it by dropping it.
struct Bookmark {
    qint64 id = -1;
    quint64 generation = 0;
    bool isValid() const { return id >= 0; }
    friend bool operator==(const Bookmark &, const Bookmark &) = default;
};

// The rows of a table or query held in memory, with a current row, an edit
// buffer and the operations every window and workflow uses. Tables and
// queries are shared objects owned by the data module: what one user leaves
// (open state, filter, index, current row) is what the next one finds.
//
// Columns are named without regard to case. Errors are thrown as StoreError.
// Moving the current row while editing posts the row first (or cancels an
// added row that was never changed).
class Dataset : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    ~Dataset() override;
    Q_DISABLE_COPY_MOVE(Dataset)

    // ---- open state -------------------------------------------------------
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    bool isEmpty() const { return rowCount() == 0; }
    // Rows shown, including a row being added.
    int rowCount() const;

    // ---- columns ------------------------------------------------------------
    const FieldList &fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    int fieldIndex(const QString &name) const; // -1 when there is none
    Field *findField(const QString &name);
    const Field &field(int column) const;
    Field &fieldByName(const QString &name); // throws when there is none

    // ---- walking ------------------------------------------------------------
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int currentRow() const { return m_current; } // -1 when empty or closed
    void setCurrentRow(int row);

    Bookmark bookmark() const;
    // The table's rowid of the current row; -1 when there is none or it is
    // being added.
    qint64 currentRowId() const { return bookmark().id; }
    // Makes the row with this id current; false when it is not shown.
    bool gotoRowId(qint64 id);
    bool gotoBookmark(const Bookmark &bookmark); // false when the row is gone
    static void freeBookmark(Bookmark &bookmark) { bookmark = {}; }

    // Suspends the signals that bound grids and detail queries follow; the
    // last enableControls() tells them to refresh. Calls nest.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    // ---- values of the current row (the edit buffer while editing) ----------
    QVariant value(int column) const;
    QVariant value(const QString &name) const;
    bool isNull(const QString &name) const { return !value(name).isValid(); }
    QString asString(const QString &name) const;
    double asFloat(const QString &name) const; // empty reads as 0
    QDate asDate(const QString &name) const;
    QTime asTime(const QString &name) const;

    // ---- values of any row, for grids and reports --------------------------
    QVariant value(int row, int column) const;
    QString displayText(int row, int column) const;
    QString editText(int row, int column) const;

    // ---- editing ------------------------------------------------------------
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }
    virtual bool isReadOnly() const = 0;

    // Adds an empty row at the end and makes it current. Returns false when
    // the dataset refused the addition silently (nothing changed).
    [[nodiscard]] bool append();
    void edit();
    void setValue(int column, const QVariant &value); // converted by Field::coerce
    void setValue(const QString &name, const QVariant &value);
    void setText(const QString &name, const QString &text) { setValue(name, text); }
    void setFloat(const QString &name, double value) { setValue(name, value); }
    void setDate(const QString &name, QDate value) { setValue(name, value); }
    void setTime(const QString &name, QTime value) { setValue(name, value); }
    // Stores the edit buffer. On failure (a required column empty, a
    // duplicate key) nothing is stored and the row stays in edit.
    void post();
    void cancel();
    void deleteRow();
    // Stores one column of the current row at once, as a grid cell does (an
    // edit under way is stored first). A refused value (not a number, a
    // required column left empty) throws and nothing is written.
    virtual void writeCurrentValue(int column, const QVariant &value);

    // Moves to the first row whose listed columns equal the values, ignoring
    // case (full Unicode case folding). A text for a date or time column is
    // read as one. Without a match the current row stays.
    bool locate(const QStringList &columns, const QVariantList &values);
    bool locate(const QString &columnsSeparatedBySemicolons, const QVariantList &values);

Q_SIGNALS:
    void aboutToReset();
    void resetDone();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);

protected:
    struct Row {
        qint64 id = -1; // the table's rowid, or the position in a query result
        QVariantList values;
    };
    using RowList = std::vector<std::unique_ptr<Row>>;

    explicit Dataset(const QString &name, QObject *parent);

    // Reads the rows, in order. A dataset whose columns come from its
    // statement puts them in place in columnsLoaded(), called once the bound
    // grids were told a reset is under way.
    virtual RowList load() = 0;
    virtual void columnsLoaded() { }
    // Writes a posted row; sets row.id for a new row. Throws on refusal.
    virtual void store(Row &row, bool inserting);
    virtual void erase(const Row &row);
    // Whether a row just stored still belongs to the visible rows.
    virtual bool stillVisible(const Row &) { return true; }
    // The order of the rows; by id unless an index says otherwise.
    virtual bool rowLess(const Row &a, const Row &b) const { return a.id < b.id; }
    // Asked before a row is added: false refuses it silently.
    virtual bool allowInsert() { return true; }
    // Whether stored texts are cut to their column's size (locate cuts the
    // searched text alike, so a long value finds the row it was stored as).
    virtual bool textsFitSize() const { return true; }

    void setFields(const FieldList &fields);
    // The row as last stored (not the edit buffer), or nullptr.
    const Row *storedRow(qint64 id) const { return m_byId.value(id, nullptr); }
    // Re-reads the rows of an open dataset and keeps the current row when it
    // still exists (the first row otherwise).
    void reload(bool keepCurrent = true);
    // Puts what was stored in the row with this id in place of the cached
    // row (fresh, read again), or drops the cached row (fresh null: deleted,
    // or no longer within the filter); adds a row not cached yet. The
    // current row stays on the same row; when that row is dropped the one
    // after it becomes current. An edit under way keeps the values typed
    // into it.
    void refreshRow(qint64 id, std::unique_ptr<Row> fresh);
    void requireOpen() const;
    void fail(const QString &message) const; // throws StoreError naming this dataset
    quint64 generation() const { return m_generation; }
    void bumpGeneration() { ++m_generation; }

private:
    struct LocateIndex;
    int positionOf(const Row &row) const;
    int columnOrThrow(const QString &name) const;
    const Row *rowAt(int row) const;
    void replaceRows(RowList rows);
    void moveTo(int row, bool force = false);
    void checkBrowseMode();
    std::unique_ptr<Row> takeAt(int pos);
    int insertSorted(std::unique_ptr<Row> row);
    void dropLocateIndexes();
    void indexRow(const Row &row);
    void unindexRow(const Row &row);
    LocateIndex &locateIndex(const QList<int> &columns);
    QString locateKey(const QVariantList &values, const QList<int> &columns) const;

    bool notifying() const { return m_disabled == 0; }

    FieldList m_fields;
    QHash<QString, int> m_names; // as declared
    QHash<QString, int> m_foldedNames; // case-folded
    RowList m_rows;
    QHash<qint64, Row *> m_byId;
    std::unique_ptr<Row> m_buffer; // edit buffer
    std::vector<std::unique_ptr<LocateIndex>> m_locate;
    State m_state = State::Inactive;
    int m_current = -1;
    int m_beforeAppend = -1; // current row when an append started
    int m_disabled = 0;
    bool m_eof = true;
    bool m_bof = true;
    bool m_modified = false;
    quint64 m_generation = 1;
};
