#include "orders/widgets/downloaded_orders_window.h"

#include "common/regional.h"
#include "orders/widgets/order_list_columns.h"
#include "store/data_module.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

enum ItemColumn { Marca, Produto, Similar, Descricao, Un, Qtde, Valor };

QString amountText(const std::optional<double> &value)
{
    return value ? numberText(*value, u"0.00"_s) : QString();
}

QString itemText(const OrderItemRow &r, ItemColumn column)
{
    switch (column) {
    case Marca:
        return r.marca;
    case Produto:
        return r.prodfabr;
    case Similar:
        return r.similares;
    case Descricao:
        return r.descricao;
    case Un:
        return r.un;
    case Qtde:
        return amountText(r.qtde);
    case Valor:
        return amountText(r.valor);
    }
    return {};
}

QList<GridColumn> itemColumns(const RowSet<OrderItemRow> &items)
{
    static const std::array<std::pair<QString, int>, 7> titles { { { u"Marca"_s, 110 }, { u"Produto"_s, 125 },
        { u"Similar"_s, 105 }, { u"Descrição"_s, 384 }, { u"UN"_s, 32 }, { u"Qtde"_s, 71 },
        { u"valor"_s, 76 } } };
    QList<GridColumn> out;
    for (int c = Marca; c <= Valor; ++c) {
        out.append({ titles[size_t(c)].first, titles[size_t(c)].second,
            rowCells<OrderItemRow>(items,
                [c](const OrderItemRow &r, int role) {
                    return role == Qt::DisplayRole ? QVariant(itemText(r, ItemColumn(c))) : QVariant();
                }),
            {}, 0, c >= Qtde });
    }
    return out;
}

void paintText(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    widget->setPalette(p);
}

// A white bold caption over a read-only box.
void boxCaption(QWidget *parent, const QString &text, int left, int top)
{
    auto *caption = new QLabel(text, parent);
    caption->setFont(tahomaPixels(11, true));
    paintText(caption, Qt::white);
    placeLabel(caption, left, top);
}

QLabel *totalLabel(QWidget *parent, const char *name, int left, int top)
{
    auto *label = namedChild<QLabel>(parent, name);
    label->setFont(tahomaPixels(11, true));
    label->move(left, top);
    return label;
}

void setLabelText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}

} // namespace

TPedidosBaixados::TPedidosBaixados(Prompts &prompts, TDm &dm, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_flow(prompts, dm)
    , m_dm(dm)
{
    setObjectName(u"PedidosBaixados"_s);
    setWindowTitle(u"Pedidos Baixados"_s);
    setFont(tahomaPixels(11));
    setWindowColour(this, QColor(155, 150, 156));
    const QColor titleTop(135, 205, 133), titleEnd(225, 247, 138), titleBorder(110, 160, 110);

    m_orders = new RowModel(
        dm.PedidosLiberados(), orderListColumns(dm.PedidosLiberados(), { 96, 67, 76, 82, 76, 80 }), this);
    m_dbgrd1 = makeRowGrid(this, "dbgrd1", m_orders, { 8, 8, 481, 120 });
    m_dbgrd1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTitleGradient(m_dbgrd1, titleTop, titleEnd, titleBorder);
    m_dbgrd1->installEventFilter(this);

    m_lbmsg = namedChild<QLabel>(this, "lbmsg");
    m_lbmsg->setFont(tahomaPixels(16, true));
    paintText(m_lbmsg, Qt::white);
    m_lbmsg->setText(u"F4 - Baixado -> Atendido"_s);
    placeLabel(m_lbmsg, 8, 132);
    m_lbmsg->hide();

    m_rg1 = namedChild<QGroupBox>(this, "rg1");
    m_rg1->setTitle(u"   Tipo Pedido   "_s);
    m_rg1->setGeometry(500, 8, 150, 74);
    m_rg1Items = new QButtonGroup(this);
    const QStringList items { u"Baixados"_s, u"Atendidos"_s };
    for (int i = 0; i < items.size(); ++i) {
        auto *item = new QRadioButton(items[i], m_rg1);
        item->setGeometry(12, 22 + 22 * i, 126, 20);
        item->setCursor(Qt::PointingHandCursor);
        m_rg1Items->addButton(item, i);
    }
    m_rg1->setCursor(Qt::PointingHandCursor);
    m_rg1Items->button(DownloadedOrders::Baixados)->setChecked(true);
    connect(m_rg1Items, &QButtonGroup::idClicked, this, &TPedidosBaixados::rg1Click);

    boxCaption(this, u"CONTATO"_s, 668, 8);
    m_dbedtCONTATO = readOnlyBox("dbedtCONTATO", { 668, 24, 297, 21 });

    m_items = new RowModel(dm.PedFornec(), itemColumns(dm.PedFornec()), this);
    m_dbgrd2 = makeRowGrid(this, "dbgrd2", m_items, { 14, 158, 945, 264 });
    m_dbgrd2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTitleGradient(m_dbgrd2, titleTop, titleEnd, titleBorder);

    boxCaption(this, u"APLICACAO"_s, 14, 426);
    m_dbedtAPLICACAO = readOnlyBox("dbedtAPLICACAO", { 14, 441, 945, 21 });
    boxCaption(this, u"OBS"_s, 14, 466);
    m_dbedtOBS = readOnlyBox("dbedtOBS", { 14, 481, 560, 21 });
    boxCaption(this, u"CONDPGTO"_s, 590, 466);
    m_dbedtCONDPGTO = readOnlyBox("dbedtCONDPGTO", { 590, 481, 369, 21 });

    m_btnimp = makeButton(this, "btnimp", u"Imprime o Pedido"_s, { 14, 530, 119, 25 });
    m_btnlojas = makeButton(this, "btnlojas", u"Distribuição por Loja"_s, { 141, 530, 135, 25 });
    m_btnsai = makeButton(this, "btnsai", u"Saída"_s, { 884, 530, 75, 25 });
    for (QPushButton *b : { m_btnimp, m_btnlojas, m_btnsai })
        b->setAutoDefault(false); // no button of ours takes Enter
    connect(m_btnimp, &QPushButton::clicked, this, &TPedidosBaixados::btnimpClick);
    connect(m_btnlojas, &QPushButton::clicked, this, &TPedidosBaixados::btnlojasClick);
    connect(m_btnsai, &QPushButton::clicked, this, &TPedidosBaixados::btnsaiClick);

    m_lbTotPed = totalLabel(this, "lbTotPed", 300, 535);
    m_lbl = { totalLabel(this, "lbl1", 620, 508), totalLabel(this, "lbl2", 620, 524),
        totalLabel(this, "lbl3", 620, 540) };

    // ds1: the selected order, and every change to its row.
    RowSet<ReleasedOrderRow> &orders = dm.PedidosLiberados();
    connect(&orders, &RowSetBase::currentRowChanged, this, &TPedidosBaixados::ds1DataChange);
    connect(&orders, &RowSetBase::rowChanged, this, [this, &orders](int row) {
        if (row == orders.currentRow())
            ds1DataChange();
    });
    // ds2: the current item, shown in the read-only boxes.
    RowSet<OrderItemRow> &lines = dm.PedFornec();
    connect(&lines, &RowSetBase::currentRowChanged, this, &TPedidosBaixados::ds2DataChange);
    connect(&lines, &RowSetBase::rowChanged, this, &TPedidosBaixados::ds2DataChange);

    // Top to bottom; the boxes too, whose text the arrow keys scroll.
    chainTabOrder({ m_dbgrd1, m_rg1Items->button(0), m_rg1Items->button(1), m_dbedtCONTATO, m_dbgrd2,
        m_dbedtAPLICACAO, m_dbedtOBS, m_dbedtCONDPGTO, m_btnimp, m_btnlojas, m_btnsai });
    enterPressesButtons(this);
    altF4Closes(this);
    fixAndCentre(this, 973, 564);
}

TPedidosBaixados::~TPedidosBaixados()
{
    FormClose();
}

QLineEdit *TPedidosBaixados::readOnlyBox(const char *name, const QRect &place)
{
    auto *box = namedChild<QLineEdit>(this, name);
    box->setReadOnly(true);
    box->setGeometry(place);
    return box;
}

QRadioButton *TPedidosBaixados::rg1Item(int item) const
{
    return qobject_cast<QRadioButton *>(m_rg1Items->button(item));
}

int TPedidosBaixados::rg1ItemIndex() const
{
    return m_rg1Items->checkedId();
}

void TPedidosBaixados::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPedidosBaixados::FormShow()
{
    m_closed = false;
    // Always on "Baixados", whatever the list was when it last closed.
    m_rg1Items->button(DownloadedOrders::Baixados)->setChecked(true);
    rg1Click();
    m_dbgrd1->setFocus(Qt::OtherFocusReason);
}

void TPedidosBaixados::rg1Click()
{
    const auto list = rg1ItemIndex() == DownloadedOrders::Atendidos ? DownloadedOrders::Atendidos
                                                                    : DownloadedOrders::Baixados;
    m_flow.chooseList(list);
    m_btnimp->setVisible(m_flow.printsOffered());
    m_btnlojas->setVisible(m_flow.printsOffered());
    // The hint names the key that works on the list shown.
    setLabelText(m_lbmsg,
        list == DownloadedOrders::Atendidos ? u"F11 - Atendido -> Baixado"_s : u"F4 - Baixado -> Atendido"_s);
}

void TPedidosBaixados::ds1DataChange()
{
    if (m_closed)
        return;
    m_flow.followSelectedOrder();
    const OrderTotalLabels &totals = m_flow.totals();
    setLabelText(m_lbTotPed, totals.lbTotPed);
    for (size_t i = 0; i < m_lbl.size(); ++i)
        setLabelText(m_lbl[i], totals.lojas[i]);
}

void TPedidosBaixados::ds2DataChange()
{
    const OrderItemRow *item = m_dm.PedFornec().current();
    setBoxText(m_dbedtCONTATO, item ? item->contato : QString());
    setBoxText(m_dbedtAPLICACAO, item ? item->aplicacao : QString());
    setBoxText(m_dbedtOBS, item ? item->obs : QString());
    setBoxText(m_dbedtCONDPGTO, item ? item->condpgto : QString());
}

bool TPedidosBaixados::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dbgrd1) {
        if (event->type() == QEvent::FocusIn)
            dbgrd1Enter();
        else if (event->type() == QEvent::FocusOut)
            dbgrd1Exit();
        else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_F4 || key == Qt::Key_F11) {
                dbgrd1KeyDown(key);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPedidosBaixados::dbgrd1Enter()
{
    m_lbmsg->show();
}

void TPedidosBaixados::dbgrd1Exit()
{
    m_lbmsg->hide();
}

void TPedidosBaixados::dbgrd1KeyDown(int key)
{
    if (key == Qt::Key_F4)
        m_flow.markAttended();
    else if (key == Qt::Key_F11)
        m_flow.returnToDownloaded();
}

void TPedidosBaixados::btnimpClick()
{
    m_flow.printOrder();
}

void TPedidosBaixados::btnlojasClick()
{
    m_flow.printStores();
}

void TPedidosBaixados::btnsaiClick()
{
    close();
}

void TPedidosBaixados::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    m_flow.closeTables();
}

void TPedidosBaixados::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TPedidosBaixados::keyPressEvent(QKeyEvent *event)
{
    // Only "Saída" and the title bar close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
