#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <array>
#include <optional>

// The records of the two quotation scripts, read into typed values by the
// user's regional settings. A value that does not convert throws
// ConversionError.

// "getcotalib.php": validade|numero|hora|status|liberada
struct ReleasedQuotationLine {
    QString cotacao;
    QString tipoStatus;
    QDate dataValidade;
    QTime ateHora;
    QDate dataLiberada;
};

inline constexpr int ReleasedQuotationFields = 5;
// The quotation number, read before the rest so that a known one is never
// converted.
inline QString releasedCotacao(const QStringList &fields)
{
    return fields.value(1);
}
ReleasedQuotationLine readReleasedQuotation(const QStringList &fields);

// "getcotaforn.php": the 26 positions of one requested item.
inline constexpr int QuotationItemPositions = 26;
// Positions 0 to 3 (CONTATO, COTACAO, DATA, PRODUTO) are the item's key;
// positions 0 to 2 are written only when the row is new.
inline constexpr int QuotationItemKeyPositions = 4;
inline constexpr int FirstUpdatedPosition = 3;

// The CotacaoFornc column of each position; empty for position 10, which is
// not read.
const std::array<QString, QuotationItemPositions> &quotationItemColumns();

struct QuotationItemLine {
    // Converted value of each position (an invalid QVariant for empty dates
    // and numbers and for position 10).
    std::array<QVariant, QuotationItemPositions> values;

    QString contato() const { return values[0].toString(); }
    QString cotacao() const { return values[1].toString(); }
    QDate data() const { return values[2].toDate(); }
    QString produto() const { return values[3].toString(); }
};

QuotationItemLine readQuotationItem(const QStringList &fields);

// The shown form of an application text: every carriage return as a blank.
QString aplicacaoText(const QString &stored);
