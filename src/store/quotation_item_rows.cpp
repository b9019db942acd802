#include "store/quotation_item_rows.h"

#include "store/schema.h"
#include "store/sqlcipher.h"
#include "store/stored_value.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// The columns of the read, in the order of the statement.
enum Column {
    RowId,
    Contato,
    Cotacao,
    Data,
    Produto,
    Prodfabr,
    Descricao,
    Un,
    Aplicacao,
    Marca,
    Qtde,
    Valor,
    CondPgto,
    Similares,
    Obs,
    QtdeLoja1,
    QtdeLoja2,
    QtdeLoja3,
    NomeLoja1,
    NomeLoja2,
    NomeLoja3,
    ColumnCount
};

const QString Select = u"SELECT rowid, CONTATO, COTACAO, DATA, PRODUTO, PRODFABR, DESCRICAO, UN, APLICACAO, "
                       "MARCA, QTDE, VALOR, CONDPGTO, SIMILARES, OBS, QTDELOJA1, QTDELOJA2, QTDELOJA3, "
                       "NOMELOJA1, NOMELOJA2, NOMELOJA3 FROM CotacaoFornc"_s;

// Item rows repeat most texts (quotation, contact, brand, store names): a
// text equal to the one above shares its string instead of a new one.
class Texts {
public:
    QString at(const Statement &st, int column)
    {
        if (st.columnIsNull(column))
            return {};
        const QByteArrayView utf8 = st.columnUtf8(column);
        Last &last = m_last[size_t(column)];
        if (!last.read || utf8 != last.utf8) {
            last.utf8 = utf8.toByteArray();
            // An empty text stored as such is not an empty column.
            last.text = utf8.isEmpty() ? u""_s : QString::fromUtf8(utf8);
            last.read = true;
        }
        return last.text;
    }

private:
    struct Last {
        bool read = false;
        QByteArray utf8;
        QString text;
    };
    std::array<Last, ColumnCount> m_last {};
};

} // namespace

std::vector<QuotationItemRow> readQuotationItems(
    Database &db, const std::optional<QString> &cotacao, const QList<qint64> *ids)
{
    db.requireOpen();
    QStringList conditions;
    QVariantList values;
    if (cotacao) {
        conditions << u"COTACAO = ?"_s;
        values << *cotacao;
    }
    if (ids) {
        if (ids->isEmpty())
            return {};
        conditions << u"rowid IN (%1)"_s.arg(boundMarks(ids->size()));
        for (const qint64 id : *ids)
            values << id;
    }
    QString sql = Select;
    if (!conditions.isEmpty())
        sql += u" WHERE "_s + conditions.join(u" AND "_s);
    Statement st(db, sql + u" ORDER BY MARCA, rowid"_s);
    st.bindAll(values);
    std::vector<QuotationItemRow> rows;
    Texts texts;
    while (st.step()) {
        QuotationItemRow r;
        r.rowid = st.columnInt(RowId);
        r.contato = texts.at(st, Contato);
        r.cotacao = texts.at(st, Cotacao);
        r.data = storedValue(st, Data, FieldType::Date).toDate();
        r.produto = texts.at(st, Produto);
        r.prodfabr = texts.at(st, Prodfabr);
        r.descricao = texts.at(st, Descricao);
        r.un = texts.at(st, Un);
        r.aplicacao = texts.at(st, Aplicacao);
        r.marca = texts.at(st, Marca);
        r.qtde = storedNumber(st, Qtde);
        r.valor = storedNumber(st, Valor);
        r.condPgto = texts.at(st, CondPgto);
        r.similares = texts.at(st, Similares);
        r.obs = texts.at(st, Obs);
        r.qtdeLoja1 = storedNumber(st, QtdeLoja1);
        r.qtdeLoja2 = storedNumber(st, QtdeLoja2);
        r.qtdeLoja3 = storedNumber(st, QtdeLoja3);
        r.nomeLoja1 = texts.at(st, NomeLoja1);
        r.nomeLoja2 = texts.at(st, NomeLoja2);
        r.nomeLoja3 = texts.at(st, NomeLoja3);
        rows.push_back(std::move(r));
    }
    return rows;
}

bool quotationItemBefore(const QuotationItemRow &a, const QuotationItemRow &b)
{
    // NULL first, then as the file's BINARY collation: UTF-16 order equals
    // UTF-8 byte order for the texts kept.
    if (a.marca.isNull() || b.marca.isNull())
        return a.marca.isNull() && !b.marca.isNull();
    return QString::compare(a.marca, b.marca, Qt::CaseSensitive) < 0;
}
