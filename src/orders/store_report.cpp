#include "orders/store_report.h"

#include "orders/order_report.h"
#include "store/data_module.h"

using namespace Qt::StringLiterals;

ReportLayout RLSepararLoja()
{
    ReportLayout r;
    r.title = u"Relatorio de Separação de Produto por loja"_s;
    r.margins = orderReportMargins();

    r.pageHeader = ReportBand(35);
    r.pageHeader.add(label(u"Relatório para separação dos produtos atendidos por Loja"_s, { 0, 0, 756, 18 })
                         .px(16)
                         .align(Qt::AlignHCenter));
    r.pageHeader.add(preparedAt(u"Impresso em : "_s, { 0, 18, 91, 12 }).px(9).fitText());

    ReportGroup &loja = r.group.emplace();
    loja.keyColumn = u"LOJA"_s;
    loja.newPageAfter = true;
    loja.header = ReportBand(50);
    loja.header.add(label(u"Loja : "_s, { 24, 12, 44, 16 }).bold().fitText());
    // The whole store name, however long: the declared width is the design's.
    loja.header.add(dataText(u"LOJA"_s, { 72, 12, 40, 16 }).fitText());
    addOrderHeadings(loja.header, 34,
        { { 1, 64 }, { 66, 69 }, { 136, 64 }, { 201, 342 }, { 544, 20 }, { 565, 60 }, { 626, 61 },
            { 688, 64 } });

    r.detail = ReportBand(19);
    const auto cell = [&](ReportElement e, int left, int width, int px, Qt::Alignment align) {
        e.rect = QRect(left, 1, width, 16);
        r.detail.add(e.px(px).box().align(align));
    };
    cell(dataText(u"MARCA"_s, {}), 1, 64, 9, Qt::AlignLeft);
    cell(dataText(u"PRODUTO"_s, {}), 66, 69, 9, Qt::AlignLeft);
    cell(dataText(u"SIMILARES"_s, {}), 136, 64, 9, Qt::AlignLeft);
    cell(dataText(u"DESCRICAO"_s, {}), 201, 342, 9, Qt::AlignLeft);
    cell(dataText(u"UN"_s, {}), 544, 20, 11, Qt::AlignHCenter);
    cell(dataText(u"QTDELOJA"_s, {}), 565, 60, 11, Qt::AlignRight);
    cell(dataText(u"VALOR"_s, {}), 626, 61, 11, Qt::AlignRight);
    cell(result({ u"VlTot"_s }, u"0.00"_s, {}), 688, 64, 11, Qt::AlignRight);

    loja.summary = ReportBand(36);
    loja.summary.add(label(u"Total Loja : "_s, { 594, 6, 80, 16 }).bold().fitText());
    loja.summary.add(
        result({ u"VlTot"_s }, u"0.00"_s, { 688, 6, 64, 16 }).px(11).box().align(Qt::AlignRight));

    r.pageFooter = orderPageFooter();
    return r;
}

ReportPreparation storeReport(const QString &pedido, const std::vector<StorePickingLine> &lines)
{
    ReportLayout layout = RLSepararLoja();
    layout.fileName = u"Pedido "_s + pedido + u" por loja"_s;
    ReportRows rows;
    rows.columns = { textColumn(u"LOJA"_s), textColumn(u"MARCA"_s), textColumn(u"PRODUTO"_s),
        textColumn(u"SIMILARES"_s), textColumn(u"DESCRICAO"_s), textColumn(u"UN"_s),
        numberColumn(u"QTDELOJA"_s, u"0.00"_s), numberColumn(u"VALOR"_s, u"0.00"_s),
        numberColumn(u"VlTot"_s, u"0.00"_s) };
    rows.rows.reserve(lines.size());
    for (const StorePickingLine &l : lines)
        rows.rows.push_back(
            { l.loja, l.marca, l.produto, l.similares, l.descricao, l.un, l.qtdeLoja, l.valor, l.vlTot });
    return ReportPreparation(std::move(layout), std::move(rows));
}

ReportPreparation storeReport(TDm &dm, const QString &pedido)
{
    return storeReport(pedido, storePickingLines(dm.Banco(), pedido));
}

PreparedReport prepareStoreReport(TDm &dm, const QString &pedido)
{
    return storeReport(dm, pedido).take();
}
