#pragma once

#include "buyersim/buyer_state.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The text records the buyer's scripts answer with: one record per line,
// fields joined by "|", dates dd/MM/yyyy, times HH:mm, decimal comma.
namespace buyersim {

inline constexpr QLatin1StringView quotationSuccessLine { "BAIXADA COM SUCESSO" };
inline constexpr QLatin1StringView orderSuccessLine { "BAIXADO COM SUCESSO" };

// 12.5 -> "12,5", 10 -> "10": no thousands separator, no trailing zeros.
QString brazilianNumber(double value);

// A field made safe for a record: "|" and line breaks would split it.
QString recordField(const QString &text);
// The application keeps its line breaks as lone carriage returns, which the
// supplier's program turns into blanks without ending the record there.
QString applicationField(const QString &text);

// validade|numero|hora|status|liberada
QString quotationListRecord(const Quotation &cotacao);
// The 26 positions of one requested item.
QString quotationItemRecord(const Quotation &cotacao, const QuotationItem &item, const QStringList &lojas);
// numero|status|data|hora
QString orderListRecord(const Order &pedido);
// The 20 positions of one ordered item.
QString orderItemRecord(const Order &pedido, const OrderItem &item, const QStringList &lojas);

// Every line ended by CR LF, as ISO-8859-1 bytes ("?" for any other letter).
QByteArray answerBody(const QStringList &lines);

// One priced line of a submission: nine fields, quantity and price with "."
// as decimal point, the date as MM/dd/yyyy. On a bad record returns nothing
// and says why in problem.
std::optional<SubmittedItem> parseSubmittedItem(const QString &record, QString *problem);

} // namespace buyersim
