#include "buyersim/buyer_records.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace buyersim {

namespace {

const QString wireDate = u"dd/MM/yyyy"_s;
const QString wireTime = u"HH:mm"_s;
const QLatin1Char separator('|');

QString date(const QDate &value)
{
    return value.isValid() ? value.toString(wireDate) : QString();
}

QString time(const QTime &value)
{
    return value.isValid() ? value.toString(wireTime) : QString();
}

QString store(const QStringList &lojas, int index)
{
    return recordField(lojas.value(index));
}

// Positions 0 to 9, alike in quotation and order items.
QStringList leadingFields(
    const QString &contato, const QString &numero, const QDate &data, const ItemLine &item)
{
    return QStringList { recordField(contato), recordField(numero), date(data), recordField(item.produto),
        recordField(item.prodFabr), recordField(item.descricao), recordField(item.un),
        applicationField(item.aplicacao), recordField(item.marca), brazilianNumber(item.qtde()) };
}

// The general form of the supplier's program: digits, an optional "."
// fraction and an optional exponent; no sign, no grouping.
std::optional<double> decimal(const QString &text)
{
    static const QRegularExpression form(u"^[0-9]+(\\.[0-9]+)?([eE][-+]?[0-9]+)?$"_s);
    if (!form.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

QString brazilianNumber(double value)
{
    QString text = QString::number(value, 'f', 6);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == "-0"_L1)
        text = u"0"_s;
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString recordField(const QString &text)
{
    QString field = text;
    field.replace(u"\r\n"_s, u" "_s);
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    field.replace(separator, QLatin1Char('/'));
    return field;
}

QString applicationField(const QString &text)
{
    QString field = text;
    field.replace(u"\r\n"_s, u"\r"_s);
    field.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    field.replace(separator, QLatin1Char('/'));
    return field;
}

QString quotationListRecord(const Quotation &cotacao)
{
    return QStringList { date(cotacao.validade), recordField(cotacao.numero), time(cotacao.ateHora),
        recordField(cotacao.status), date(cotacao.liberada) }
        .join(separator);
}

QString quotationItemRecord(const Quotation &cotacao, const QuotationItem &item, const QStringList &lojas)
{
    QStringList fields = leadingFields(cotacao.contato, cotacao.numero, cotacao.liberada, item);
    fields << QString() // not read by the supplier's program
           << recordField(item.status) << recordField(item.tipoStatus) << recordField(cotacao.agrupadas);
    for (const QString &numero : item.cotacaoLoja)
        fields.append(recordField(numero));
    for (double qtde : item.qtdeLoja)
        fields.append(brazilianNumber(qtde));
    fields << recordField(item.condPgto) << recordField(item.similares) << recordField(item.obs);
    for (int loja = 0; loja < storeCount; ++loja)
        fields.append(store(lojas, loja));
    return fields.join(separator);
}

QString orderListRecord(const Order &pedido)
{
    return QStringList { recordField(pedido.numero), recordField(pedido.status), date(pedido.liberado),
        time(pedido.horaLiberado) }
        .join(separator);
}

QString orderItemRecord(const Order &pedido, const OrderItem &item, const QStringList &lojas)
{
    QStringList fields = leadingFields(pedido.contato, pedido.numero, pedido.liberado, item);
    fields << brazilianNumber(item.valor) << recordField(item.condPgto);
    for (double qtde : item.qtdeLoja)
        fields.append(brazilianNumber(qtde));
    for (int loja = 0; loja < storeCount; ++loja)
        fields.append(store(lojas, loja));
    fields << recordField(item.similares) << recordField(item.obs);
    return fields.join(separator);
}

QByteArray answerBody(const QStringList &lines)
{
    QByteArray body;
    for (const QString &line : lines) {
        body += line.toLatin1();
        body += "\r\n";
    }
    return body;
}

std::optional<SubmittedItem> parseSubmittedItem(const QString &record, QString *problem)
{
    const QStringList f = record.split(separator);
    auto refuse = [problem](const QString &why) -> std::optional<SubmittedItem> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    if (f.size() != 9)
        return refuse(u"esperados 9 campos separados por \"|\", recebidos %1"_s.arg(f.size()));
    if (f.at(1).isEmpty())
        return refuse(u"cotação vazia"_s);
    if (!QDate::fromString(f.at(2), u"MM/dd/yyyy"_s).isValid())
        return refuse(u"data inválida \"%1\" (esperado mm/dd/aaaa)"_s.arg(f.at(2)));
    if (f.at(3).trimmed().isEmpty())
        return refuse(u"produto vazio"_s);
    if (!decimal(f.at(4)))
        return refuse(u"quantidade inválida \"%1\""_s.arg(f.at(4)));
    if (!f.at(5).isEmpty() && !decimal(f.at(5)))
        return refuse(u"valor inválido \"%1\""_s.arg(f.at(5)));
    return SubmittedItem { f.at(0), f.at(1), f.at(2), f.at(3), f.at(4), f.at(5), f.at(6), f.at(7), f.at(8) };
}

} // namespace buyersim
