#include "store/stored_row_count.h"

#include "store/sqlcipher.h"

using namespace Qt::StringLiterals;

qint64 countStoredRows(const Database &db, const QString &table)
{
    db.requireOpen();
    Statement st(db, u"SELECT count(*) FROM \"%1\""_s.arg(QString(table).replace(u'"', u"\"\""_s)));
    return st.step() ? st.columnInt(0) : 0;
}
