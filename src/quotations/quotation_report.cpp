#include "quotations/quotation_report.h"

#include "store/data_module.h"

using namespace Qt::StringLiterals;

ReportLayout RLCotacao()
{
    ReportLayout r;
    r.title = u"Cotação Kelvo AutoPeças"_s;
    r.margins = QMargins(19, 26, 19, 26); // 5 mm beside, 7 mm above and below

    ReportBand &cabeca = r.pageHeader = ReportBand(68);
    cabeca.add(label(u"Relatorio para Cotação - KELVO AutoPeças"_s, { 222, 0, 311, 18 })
                   .px(16)
                   .align(Qt::AlignHCenter)
                   .fitText());
    cabeca.add(preparedAt(u"Impresso em :"_s, { 655, 16, 101, 14 }).px(11).align(Qt::AlignRight).fitText());
    cabeca.add(label(u"Cotação :"_s, { 3, 24, 49, 14 }).px(11).fitText());
    cabeca.add(dataText(u"COTACAO"_s, { 58, 24, 55, 14 }).px(11).fitText());
    const auto heading = [&](const QString &text, int left, int width) {
        cabeca.add(label(text, { left, 49, width, 18 }).px(11).box().align(Qt::AlignHCenter));
    };
    heading(u"Marca"_s, 4, 122);
    heading(u"Produto"_s, 127, 105);
    heading(u"Similar"_s, 234, 100);
    heading(u"Descrição do produto"_s, 335, 284);
    heading(u"Un"_s, 620, 19);
    heading(u"Qtde"_s, 640, 43);
    heading(u"Valor"_s, 685, 68);

    r.detail = ReportBand(20);
    const auto cell
        = [&](const QString &column, int left, int width, Qt::Alignment align) -> ReportElement & {
        r.detail.add(dataText(column, { left, 1, width, 18 }).px(11).box().align(align));
        return r.detail.elements.back();
    };
    cell(u"MARCA"_s, 4, 122, Qt::AlignLeft);
    cell(u"PRODFABR"_s, 127, 105, Qt::AlignLeft);
    cell(u"SIMILARES"_s, 233, 101, Qt::AlignRight);
    cell(u"DESCRICAO"_s, 335, 284, Qt::AlignLeft);
    cell(u"UN"_s, 620, 19, Qt::AlignLeft);
    cell(u"QTDE"_s, 640, 43, Qt::AlignRight);
    cell(u"VALOR"_s, 685, 68, Qt::AlignRight).zeroWhenEmpty();

    r.pageFooter = ReportBand(24);
    r.pageFooter.add(
        pageNumber(u"Página : "_s, { 321, 5, 113, 14 }).px(11).align(Qt::AlignHCenter).fitText());
    return r;
}

ReportPreparation quotationReport(const std::vector<ItemPrintLine> &lines)
{
    ReportLayout layout = RLCotacao();
    if (!lines.empty())
        layout.fileName = u"Cotação "_s + lines.front().cotacao;
    ReportRows rows;
    rows.columns = { textColumn(u"COTACAO"_s), textColumn(u"MARCA"_s), textColumn(u"PRODFABR"_s),
        textColumn(u"SIMILARES"_s), textColumn(u"DESCRICAO"_s), textColumn(u"UN"_s),
        numberColumn(u"QTDE"_s, u"0.00"_s), numberColumn(u"VALOR"_s, u"0.00"_s) };
    rows.rows.reserve(lines.size());
    for (const ItemPrintLine &l : lines)
        rows.rows.push_back({ l.cotacao, l.marca, l.prodfabr, l.similares, l.descricao, l.un,
            reportNumber(l.qtde), reportNumber(l.valor) });
    return ReportPreparation(std::move(layout), std::move(rows));
}

ReportPreparation quotationReport(TDm &dm)
{
    if (!dm.CotaFornec().isOpen())
        return quotationReport(std::vector<ItemPrintLine> {});
    return quotationReport(quotationPrintLines(dm.Banco(), dm.quotationItemsChoice()));
}

PreparedReport prepareQuotationReport(TDm &dm)
{
    return quotationReport(dm).take();
}
