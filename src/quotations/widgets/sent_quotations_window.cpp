#include "quotations/widgets/sent_quotations_window.h"

#include "store/data_module.h"
#include "store/dataset_model.h"
#include "ui/widgets/dataset_grid.h"
#include "ui/widgets/form_style.h"
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

// Odd rows white, even rows in the grid's colour (rows counted from 1); the
// selected row, which is the dataset's current row, in its own colour with
// black text, with or without the focus.
QTableView *striped(QWidget *parent, const char *name, DatasetModel *model, const QRect &place,
    const QColor &even, const QColor &selected, const QColor &titles)
{
    model->setStyleHook([even, selected](const Dataset &dataset, int row, int, int role) {
        if (role == Qt::ForegroundRole)
            return QVariant(QBrush(Qt::black));
        if (row == dataset.currentRow())
            return cellStyle(role, selected);
        return cellStyle(role, row % 2 == 1 ? even : QColor(Qt::white));
    });
    QTableView *grid = makeDatasetGrid(parent, name, model, place);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setItemDelegate(new RowColours(false, grid));
    grid->setFont(tahomaPixels(11));
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->horizontalHeader()->setFont(tahomaPixels(13));
    setTitleGradient(grid, Qt::white, titles, titles.darker(130));
    return grid;
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

    auto *cab = new DatasetModel(dm.ConsCotaCab(),
        { { u"Cotacao"_s, u"Cotacao"_s, 118, {}, true }, { u"Data"_s, u"Data"_s, 71, u"dd/mm/yyyy"_s, true },
            { u"TipoStatus"_s, u"Status"_s, 64, {}, true } },
        this);
    m_dbgrd1 = striped(this, "dbgrd1", cab, { 1, 8, 272, 465 }, QColor(166, 202, 240), QColor(255, 255, 0),
        QColor(101, 245, 184));
    m_dbgrd1->setItemDelegateForColumn(1, new RowColours(true, m_dbgrd1));

    auto *itens = new DatasetModel(dm.ConsCotaItens(),
        { { u"Marca"_s, u"Marca"_s, 104, {}, true }, { u"Prodfabr"_s, u"Prodfabr"_s, 91, {}, true },
            { u"Similares"_s, u"Similares"_s, 92, {}, true },
            { u"Descricao"_s, u"Descricao"_s, 340, {}, true }, { u"UN"_s, u"UN"_s, 30, {}, true },
            { u"Qtde"_s, u"Qtde"_s, 56, u"0.00"_s, true }, { u"Valor"_s, u"Valor"_s, 65, u"0.00"_s, true },
            { u"Total"_s, u"Total"_s, 80, u"#,##0.00"_s, true } },
        this);
    m_dbgrd2 = striped(this, "dbgrd2", itens, { 276, 8, 875, 465 }, QColor(192, 220, 192),
        QColor(173, 255, 47), QColor(225, 247, 138));

    m_lb1 = namedChild<QLabel>(this, "lb1");
    m_lb1->setFont(tahomaPixels(16, true));
    m_lb1->move(288, 496);

    m_btn1 = makeButton(this, "btn1", u"Saída"_s, { 1070, 492, 75, 25 });
    // No button of this window is a default one: Enter in a grid clicks nothing.
    m_btn1->setAutoDefault(false);
    connect(m_btn1, &QPushButton::clicked, this, &TCotasRespEnv::btn1Click);

    // Connected after the items' own link to their master, so the items are
    // already read again for the new row when the total is taken.
    connect(&dm.ConsCotaCab(), &Dataset::currentRowChanged, this, &TCotasRespEnv::ds1DataChange);

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
