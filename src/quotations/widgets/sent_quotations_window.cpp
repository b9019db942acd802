#include "quotations/widgets/sent_quotations_window.h"

#include "common/regional.h"
#include "store/data_module.h"
#include "ui/row_model.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QBrush>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

// Cells in the row's own colours: the selected row is painted from its
// background like every other row, and no style shades it or the cell with
// the focus (the whole row already shows where the selection is).
class RowColours final : public WholeTextDelegate {
public:
    RowColours(bool centred, QObject *parent)
        : WholeTextDelegate(parent)
        , m_centred(centred)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        WholeTextDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (m_centred)
            option->displayAlignment = Qt::AlignCenter;
    }

private:
    bool m_centred;
};

using CellStyle = std::function<QVariant(int row, int role)>;

// Odd rows white, even rows in the grid's colour (rows counted from 1); the
// selected row, which is the set's current row, in its own colour with black
// text, with or without the focus.
CellStyle stripes(const RowSetBase &rows, const QColor &even, const QColor &selected)
{
    return [&rows, even, selected](int row, int role) {
        if (role == Qt::ForegroundRole)
            return QVariant(QBrush(Qt::black));
        if (row == rows.currentRow())
            return cellStyle(role, selected);
        return cellStyle(role, row % 2 == 1 ? even : QColor(Qt::white));
    };
}

// A column shown only: its text, and the style roles from the stripes.
template <class Row>
GridColumn shownColumn(const RowSet<Row> &rows, const QString &title, int width,
    std::function<QString(const Row &)> text, const CellStyle &style, bool number = false)
{
    GridColumn column { title, width, {} };
    column.number = number;
    column.data = [&rows, text = std::move(text), style](int row, int role) -> QVariant {
        if (role == Qt::DisplayRole)
            return text(rows.at(row));
        if (role == Qt::BackgroundRole || role == Qt::ForegroundRole || role == Qt::FontRole)
            return style(row, role);
        return {};
    };
    return column;
}

QTableView *striped(
    QWidget *parent, const char *name, RowModel *model, const QRect &place, const QColor &titles)
{
    QTableView *grid = makeRowGrid(parent, name, model, place);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItemDelegate(new RowColours(false, grid));
    grid->setFont(tahomaPixels(11));
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->horizontalHeader()->setFont(tahomaPixels(13));
    setTitleGradient(grid, Qt::white, titles, titles.darker(130));
    return grid;
}

QString money(const std::optional<double> &value, const QString &format)
{
    return value ? numberText(*value, format) : QString();
}

} // namespace

TCotasRespEnv::TCotasRespEnv(Prompts &prompts, TDm &dm, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_dm(dm)
    , m_flow(prompts, dm)
{
    setObjectName(u"CotasRespEnv"_s);
    setWindowTitle(u"Cotações Respondidas e Enviadas"_s);
    setFont(tahomaPixels(13));

    const SentQuotationHeads &heads = dm.ConsCotaCab();
    const CellStyle headStyle = stripes(heads, QColor(166, 202, 240), QColor(255, 255, 0));
    auto *cab = new RowModel(dm.ConsCotaCab(),
        { shownColumn<SentQuotationHead>(
              heads, u"Cotacao"_s, 118, [](const SentQuotationHead &h) { return h.cotacao; }, headStyle),
            shownColumn<SentQuotationHead>(
                heads, u"Data"_s, 71,
                [](const SentQuotationHead &h) { return dateText(h.data, u"dd/mm/yyyy"_s); }, headStyle),
            shownColumn<SentQuotationHead>(
                heads, u"Status"_s, 64, [](const SentQuotationHead &h) { return h.tipoStatus; }, headStyle) },
        this);
    m_dbgrd1 = striped(this, "dbgrd1", cab, { 1, 8, 272, 465 }, QColor(101, 245, 184));
    m_dbgrd1->setItemDelegateForColumn(1, new RowColours(true, m_dbgrd1));

    const SentQuotationItems &items = dm.ConsCotaItens();
    const CellStyle itemStyle = stripes(items, QColor(192, 220, 192), QColor(173, 255, 47));
    using Item = SentQuotationItem;
    auto *itens = new RowModel(dm.ConsCotaItens(),
        { shownColumn<Item>(
              items, u"Marca"_s, 104, [](const Item &i) { return i.marca; }, itemStyle),
            shownColumn<Item>(
                items, u"Prodfabr"_s, 91, [](const Item &i) { return i.prodfabr; }, itemStyle),
            shownColumn<Item>(
                items, u"Similares"_s, 92, [](const Item &i) { return i.similares; }, itemStyle),
            shownColumn<Item>(
                items, u"Descricao"_s, 340, [](const Item &i) { return i.descricao; }, itemStyle),
            shownColumn<Item>(
                items, u"UN"_s, 30, [](const Item &i) { return i.un; }, itemStyle),
            shownColumn<Item>(
                items, u"Qtde"_s, 56, [](const Item &i) { return money(i.qtde, u"0.00"_s); }, itemStyle,
                true),
            shownColumn<Item>(
                items, u"Valor"_s, 65, [](const Item &i) { return money(i.valor, u"0.00"_s); }, itemStyle,
                true),
            shownColumn<Item>(
                items, u"Total"_s, 80, [](const Item &i) { return money(i.total, u"#,##0.00"_s); }, itemStyle,
                true) },
        this);
    m_dbgrd2 = striped(this, "dbgrd2", itens, { 276, 8, 875, 465 }, QColor(225, 247, 138));

    m_lb1 = namedChild<QLabel>(this, "lb1");
    m_lb1->setFont(tahomaPixels(16, true));
    m_lb1->move(288, 496);

    m_btn1 = makeButton(this, "btn1", u"Saída"_s, { 1070, 492, 75, 25 });
    // No button of this window is a default one: Enter in a grid clicks nothing.
    m_btn1->setAutoDefault(false);
    connect(m_btn1, &QPushButton::clicked, this, &TCotasRespEnv::btn1Click);

    // Connected after the data module's own link of the items to their
    // quotation, so the items are already read again when the total is taken.
    connect(&dm.ConsCotaCab(), &RowSetBase::currentRowChanged, this, &TCotasRespEnv::ds1DataChange);

    chainTabOrder({ m_dbgrd1, m_dbgrd2, m_btn1 });
    enterPressesButtons(this);
    altF4Closes(this);
    fixAndCentre(this, 1153, 525);
}

TCotasRespEnv::~TCotasRespEnv() = default;

void TCotasRespEnv::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TCotasRespEnv::FormShow()
{
    m_flow.openQueries();
    m_dbgrd1->setFocus(Qt::OtherFocusReason);
    m_lb1->setText(m_flow.totalText());
    m_lb1->adjustSize();
}

void TCotasRespEnv::ds1DataChange()
{
    // While the items are not open yet (the window is opening) the label waits.
    if (!m_dm.ConsCotaItens().isOpen())
        return;
    m_lb1->setText(m_flow.totalText());
    m_lb1->adjustSize();
}

void TCotasRespEnv::btn1Click()
{
    done(Accepted);
}

void TCotasRespEnv::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
