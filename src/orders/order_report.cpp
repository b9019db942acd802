#include "orders/order_report.h"

#include "store/data_module.h"

using namespace Qt::StringLiterals;

QMargins orderReportMargins()
{
    return QMargins(19, 19, 19, 26); // 5 mm left, top and right, 7 mm below
}

void addOrderHeadings(ReportBand &band, int top, const QList<std::pair<int, int>> &leftAndWidth)
{
    static const QStringList titles { u"Marca"_s, u"Produto"_s, u"Similar"_s, u"Descrição do Produto"_s,
        u"Un"_s, u"Qtde"_s, u"Valor"_s, u"Total"_s };
    for (qsizetype i = 0; i < titles.size() && i < leftAndWidth.size(); ++i) {
        const auto [left, width] = leftAndWidth[i];
        band.add(label(titles[i], { left, top, width, 16 }).px(11).box().align(Qt::AlignHCenter));
    }
}

ReportBand orderPageFooter()
{
    ReportBand footer(18);
    footer.add(
        pageNumber(u"Página : "_s, { 321, 2, 113, 14 }).px(11).align(Qt::AlignHCenter).middle().fitText());
    footer.add(preparedAt(u"Impresso em : "_s, { 0, 0, 91, 12 }).px(9).fitText());
    return footer;
}

ReportLayout RLPedAtende(const QString &pedido)
{
    ReportLayout r;
    r.title = u"Impressão de Pedidos Baixado para Atendimento"_s;
    r.margins = orderReportMargins();

    r.pageHeader = ReportBand(62);
    r.pageHeader.add(
        label(u"Atender e Faturar o pedido : "_s + pedido, { 0, 0, 756, 18 }).px(16).align(Qt::AlignHCenter));
    addOrderHeadings(r.pageHeader, 45,
        { { 1, 64 }, { 66, 69 }, { 136, 63 }, { 200, 342 }, { 543, 20 }, { 564, 61 }, { 626, 61 },
            { 688, 64 } });

    r.detail = ReportBand(18);
    const auto cell = [&](ReportElement e, int left, int width, int px, Qt::Alignment align) {
        e.rect = QRect(left, 0, width, 16);
        r.detail.add(e.px(px).box().align(align));
    };
    cell(dataText(u"MARCA"_s, {}), 1, 64, 9, Qt::AlignLeft);
    cell(dataText(u"PRODFABR"_s, {}), 66, 69, 9, Qt::AlignLeft);
    cell(dataText(u"SIMILARES"_s, {}), 136, 63, 9, Qt::AlignLeft);
    cell(dataText(u"DESCRICAO"_s, {}), 200, 342, 9, Qt::AlignLeft);
    cell(dataText(u"UN"_s, {}), 543, 20, 11, Qt::AlignHCenter);
    cell(dataText(u"QTDE"_s, {}), 564, 61, 11, Qt::AlignRight);
    cell(dataText(u"VALOR"_s, {}), 626, 61, 11, Qt::AlignRight);
    cell(result({ u"Qtde"_s, u"Valor"_s }, u"0.00"_s, {}), 688, 64, 11, Qt::AlignRight);

    r.summary = ReportBand(30);
    r.summary.add(label(u"Valor Total"_s, { 622, 4, 62, 14 }).px(11).bold().middle().fitText());
    r.summary.add(
        result({ u"Qtde"_s, u"Valor"_s }, u"0.00"_s, { 688, 2, 64, 16 }).px(11).box().align(Qt::AlignRight));

    r.pageFooter = orderPageFooter();
    return r;
}

ReportPreparation orderReport(const QString &pedido, const std::vector<ItemPrintLine> &lines)
{
    ReportLayout layout = RLPedAtende(pedido);
    layout.fileName = u"Pedido "_s + pedido;
    ReportRows rows;
    // The quantity in the general format, the price with two decimals.
    rows.columns = { textColumn(u"MARCA"_s), textColumn(u"PRODFABR"_s), textColumn(u"SIMILARES"_s),
        textColumn(u"DESCRICAO"_s), textColumn(u"UN"_s), numberColumn(u"QTDE"_s),
        numberColumn(u"VALOR"_s, u"0.00"_s) };
    rows.rows.reserve(lines.size());
    for (const ItemPrintLine &l : lines)
        rows.rows.push_back({ l.marca, l.prodfabr, l.similares, l.descricao, l.un, reportNumber(l.qtde),
            reportNumber(l.valor) });
    return ReportPreparation(std::move(layout), std::move(rows));
}

ReportPreparation orderReport(TDm &dm, const QString &pedido)
{
    return orderReport(pedido, orderPrintLines(dm.Banco(), pedido));
}

PreparedReport prepareOrderReport(TDm &dm, const QString &pedido)
{
    return orderReport(dm, pedido).take();
}
