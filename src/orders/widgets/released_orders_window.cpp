#include "orders/widgets/released_orders_window.h"

#include "orders/widgets/order_list_columns.h"
#include "store/data_module.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

TPedLib::TPedLib(Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_flow(prompts, dm, net, m_IdHTTP1, servidor)
{
    setObjectName(u"PedLib"_s);
    setWindowTitle(u"Pedidos Liberados"_s);
    setFont(tahomaPixels(11));
    setWindowColour(this, QColor(225, 247, 138));

    m_model = new RowModel(
        dm.PedidosLiberados(), orderListColumns(dm.PedidosLiberados(), { 150, 67, 81, 87, 77, 84 }), this);
    m_dbgrd1 = makeRowGrid(this, "dbgrd1", m_model, { 9, 8, 566, 241 });
    m_dbgrd1->setFont(tahomaPixels(13));
    m_dbgrd1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTitleGradient(m_dbgrd1, QColor(135, 205, 133), QColor(225, 247, 138), QColor(110, 160, 110));

    m_btn1 = makeButton(this, "btn1", u"Verificar"_s, { 9, 262, 93, 25 });
    m_btn2 = makeButton(this, "btn2", u"Baixar"_s, { 110, 262, 93, 25 });
    m_btn3 = makeButton(this, "btn3", u"Saída"_s, { 482, 262, 93, 25 });
    for (QPushButton *b : { m_btn1, m_btn2, m_btn3 })
        b->setAutoDefault(false); // no button of ours takes Enter
    connect(m_btn1, &QPushButton::clicked, this, &TPedLib::btn1Click);
    connect(m_btn2, &QPushButton::clicked, this, &TPedLib::btn2Click);
    connect(m_btn3, &QPushButton::clicked, this, &TPedLib::btn3Click);

    chainTabOrder({ m_dbgrd1, m_btn1, m_btn2, m_btn3 });
    enterPressesButtons(this);
    altF4Closes(this);
    fixAndCentre(this, 585, 297);
}

TPedLib::~TPedLib() = default;

void TPedLib::setXLogin(const QString &login)
{
    m_flow.setLogin({ login, m_flow.login().senha });
}

void TPedLib::setXSenha(const QString &senha)
{
    m_flow.setLogin({ m_flow.login().login, senha });
}

void TPedLib::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TPedLib::keyPressEvent(QKeyEvent *event)
{
    // Only "Saída" and the title bar close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPedLib::FormShow()
{
    m_flow.openTables();
    m_dbgrd1->setFocus();
}

void TPedLib::btn1Click()
{
    m_flow.fetchList();
}

void TPedLib::btn2Click()
{
    m_flow.downloadItems();
}

void TPedLib::btn3Click()
{
    done(Accepted);
}
