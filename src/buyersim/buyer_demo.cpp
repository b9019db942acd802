#include "buyersim/buyer_state.h"

using namespace Qt::StringLiterals;

namespace buyersim {

namespace {

struct Part {
    const char16_t *marca;
    const char16_t *prodFabr;
    const char16_t *descricao;
    const char16_t *un;
    const char16_t *aplicacao;
    double preco;
};

// Applications are typed by the buyer with line breaks between vehicles.
const Part catalogue[] = {
    { u"BOSCH", u"0986BB0634", u"PASTILHA DE FREIO DIANTEIRA", u"JG", u"GOL 1.0 2008/2012\r\nFOX 1.6", 89.9 },
    { u"NGK", u"BKR6E", u"VELA DE IGNIÇÃO", u"PC", u"PALIO 1.0 FIRE\r\nUNO 1.0 2004/2013", 14.5 },
    { u"COFAP", u"GB27065", u"AMORTECEDOR TRASEIRO", u"PC", u"CELTA 2000/2015\r\nPRISMA 1.4", 132.4 },
    { u"MONROE", u"SP0210", u"AMORTECEDOR DIANTEIRO", u"PC", u"ONIX 2013/2019\r\nCOBALT 1.8", 215.75 },
    { u"SKF", u"VKBA 3567", u"ROLAMENTO DE RODA DIANTEIRA", u"PC", u"CORSA 1.0/1.4 2002/2012", 97.3 },
    { u"NAKATA", u"N 1016", u"TERMINAL DE DIREÇÃO", u"PC", u"GOL G5 2009/2016\r\nVOYAGE 1.6\r\nSAVEIRO",
        41.8 },
    { u"FRAS-LE", u"PD/580", u"PASTILHA DE FREIO TRASEIRA", u"JG", u"CIVIC 2.0 2007/2011", 76.2 },
    { u"BOSCH", u"0986B00020", u"FILTRO DE ÓLEO", u"CX", u"FIESTA 1.0/1.6 ZETEC ROCAM\r\nKA 1.0", 18.9 },
    { u"NGK", u"SCT32", u"CABO DE VELA", u"JG", u"UNO MILLE FIRE 1.0", 63.0 },
    { u"SKF", u"VKMA 01250", u"KIT CORREIA DENTADA COM TENSOR", u"JG", u"GOL/PARATI 1.6 AP\r\nSANTANA 1.8",
        189.6 },
    { u"NAKATA", u"N 799", u"BIELETA DA BARRA ESTABILIZADORA", u"PC", u"HB20 2012/2019", 38.45 },
    { u"COFAP", u"CKS0012", u"KIT BATENTE E COIFA DO AMORTECEDOR", u"JG", u"SANDERO/LOGAN 2008/2014", 54.1 },
    { u"BOSCH", u"F000TE145D", u"BOMBA DE COMBUSTÍVEL ELÉTRICA", u"PC", u"STRADA 1.4 FLEX\r\nSIENA 1.0/1.4",
        249.0 },
    { u"FRAS-LE", u"LK/166", u"LONA DE FREIO TRASEIRA", u"JG", u"FUSCA 1300/1600", 45.5 },
    { u"MONROE", u"MK052", u"KIT COXIM DO AMORTECEDOR DIANTEIRO", u"JG", u"ECOSPORT 2003/2012", 118.7 },
    { u"BOSCH", u"9000300060", u"LÂMPADA H4 12V 60/55W", u"CX", u"UNIVERSAL", 12.35 },
};
constexpr int catalogueSize = int(std::size(catalogue));

const QString contact = u"MARCOS"_s;

// Quantities vary by item and store; some stores ask for none.
std::array<double, storeCount> quantitiesFor(int index)
{
    std::array<double, storeCount> q {};
    q[0] = 2 + (index * 7) % 11;
    q[1] = (index % 3 == 0) ? 0 : 1 + (index * 5) % 6;
    q[2] = (index % 4 == 1) ? 0 : (index * 3) % 5;
    if (index % 9 == 4)
        q[0] += 0.5; // sold by weight or length now and then
    return q;
}

const QString paymentTerms[] = { u"28 DDL"_s, u"28/56 DDL"_s, u"30/60/90 DDL"_s };

void fillLine(ItemLine &item, int index, const QString &produto)
{
    const Part &part = catalogue[index % catalogueSize];
    item.produto = produto;
    item.prodFabr = QString::fromUtf16(part.prodFabr);
    item.descricao = QString::fromUtf16(part.descricao);
    item.un = QString::fromUtf16(part.un);
    item.aplicacao = QString::fromUtf16(part.aplicacao);
    item.marca = QString::fromUtf16(part.marca);
    item.qtdeLoja = quantitiesFor(index);
    item.condPgto = paymentTerms[index % 3];
}

QuotationItem quotationItem(int index, const QString &produto, const QString &numero)
{
    QuotationItem item;
    fillLine(item, index, produto);
    for (int loja = 0; loja < storeCount; ++loja)
        if (item.qtdeLoja[loja] > 0)
            item.cotacaoLoja[loja] = u"%1-%2"_s.arg(loja + 1).arg(numero.right(6));
    item.status = u"A"_s;
    item.tipoStatus = u"ABERTA"_s;
    return item;
}

OrderItem orderItem(int index, const QString &produto)
{
    OrderItem item;
    fillLine(item, index, produto);
    item.valor = catalogue[index % catalogueSize].preco;
    return item;
}

QString productCode(int index)
{
    return u"%1"_s.arg(10230 + index * 17, 7, 10, QLatin1Char('0'));
}

QString sequenced(const QDate &today, int sequence)
{
    return QString::number(today.year()) + u"%1"_s.arg(sequence, 6, 10, QLatin1Char('0'));
}

Quotation quotation(const QString &numero, const QString &status, const QDate &validade, const QTime &ateHora,
    const QDate &liberada, int firstItem, int itemCount)
{
    Quotation cotacao { numero, status, contact, validade, ateHora, liberada, {}, {} };
    for (int i = 0; i < itemCount; ++i)
        cotacao.itens.append(quotationItem(firstItem + i, productCode(firstItem + i), numero));
    cotacao.agrupadas = u"1-%1;2-%1;3-%1"_s.arg(numero.right(6));
    return cotacao;
}

// An order for the first stores stores only: the others ask for nothing.
Order order(const QString &numero, const QDate &liberado, const QTime &hora, int firstItem, int itemCount,
    int stores = storeCount)
{
    Order pedido { numero, u"Liberado"_s, contact, liberado, hora, {} };
    for (int i = 0; i < itemCount; ++i) {
        OrderItem item = orderItem(firstItem + i, productCode(firstItem + i));
        for (int loja = stores; loja < storeCount; ++loja)
            item.qtdeLoja[loja] = 0;
        pedido.itens.append(item);
    }
    return pedido;
}

} // namespace

BuyerState demoState(const QDate &today)
{
    BuyerState state;
    state.lojas = QStringList { u"MATRIZ"_s, u"FILIAL 1"_s, u"FILIAL 2"_s };
    const QTime five(17, 0);
    // Open for a week, open for three days, expired, due today at midnight
    // (past its hour from the moment it exists) and closed by the buyer.
    state.cotacoes = {
        quotation(sequenced(today, 101), u"ABERTA"_s, today.addDays(7), five, today.addDays(-1), 0, 12),
        quotation(sequenced(today, 102), u"ABERTA"_s, today.addDays(3), QTime(12, 0), today, 12, 6),
        quotation(sequenced(today, 103), u"ABERTA"_s, today.addDays(-2), five, today.addDays(-9), 3, 5),
        quotation(sequenced(today, 104), u"ABERTA"_s, today, QTime(0, 0), today.addDays(-4), 8, 4),
        quotation(sequenced(today, 105), u"FECHADA"_s, today.addDays(5), five, today.addDays(-2), 1, 4),
    };
    // One order for the three stores, one for two; both worth over a thousand.
    state.pedidos = {
        order(sequenced(today, 201), today.addDays(-1), QTime(9, 30), 0, 8),
        order(sequenced(today, 202), today, QTime(14, 15), 8, 5, 2),
    };
    return state;
}

GeneratedNumbers addGenerated(BuyerState &state, int itemCount, const QDate &today)
{
    GeneratedNumbers numbers;
    numbers.cotacao = state.nextNumber(today.year());
    state.cotacoes.append(
        quotation(numbers.cotacao, u"ABERTA"_s, today.addDays(30), QTime(17, 0), today, 0, itemCount));
    numbers.pedido = state.nextNumber(today.year());
    state.pedidos.append(order(numbers.pedido, today, QTime(8, 0), 0, itemCount));
    if (state.lojas.isEmpty())
        state.lojas = QStringList { u"MATRIZ"_s, u"FILIAL 1"_s, u"FILIAL 2"_s };
    return numbers;
}

} // namespace buyersim
