#include "purge/widgets/purge_window.h"

#include "common/clock.h"
#include "common/regional.h"
#include "store/data_module.h"
#include "ui/row_model.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

void heading(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *label = namedChild<QLabel>(parent, name);
    label->setText(text);
    label->setFont(tahomaFont(8, true));
    placeLabel(label, left, top);
}

// What a list's column shows of its rows.
enum class Shows { Key, Status, Date };

struct ListColumn {
    QString title; // the stored column's name
    Shows shows;
    int width;
};

QString cellText(const DatedKeyRow &r, Shows shows)
{
    switch (shows) {
    case Shows::Key:
        return r.key;
    case Shows::Status:
        return r.tipoStatus;
    case Shows::Date:
        return r.date.isValid() ? dateText(r.date) : QString();
    }
    return {};
}

// A read-only list under its column names; the widths fit the grid, with
// room for its scroll bar.
QTableView *list(QWidget *parent, const char *name, DataPurge::List &rows, const QList<ListColumn> &columns,
    const QRect &place)
{
    QList<GridColumn> shown;
    for (const ListColumn &c : columns) {
        shown.append({ c.title, c.width,
            rowCells<DatedKeyRow>(rows, [shows = c.shows](const DatedKeyRow &r, int role) {
                return role == Qt::DisplayRole ? QVariant(cellText(r, shows)) : QVariant();
            }) });
    }
    auto *grid = makeRowGrid(parent, name, new RowModel(rows, shown, parent), place);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

QPushButton *arrow(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    QPushButton *button = makeButton(parent, name, text, { left, top, 75, 25 });
    button->setFont(tahomaFont(8, true));
    // No button of this window is a default one: Enter in a list clicks nothing.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TApagaDados::TApagaDados(Prompts &prompts, TDm &dm, const QString &storePath, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_dm(dm)
    , m_flow(prompts, dm)
    , m_restore(prompts, dm, storePath)
{
    setObjectName(u"ApagaDados"_s);
    setWindowTitle(u"Apaga dados antigos"_s);
    setFont(tahomaFont(8));
    setWindowColour(this, QColor(192, 228, 224));

    heading(this, "Label1", u"Cotações Liberadas"_s, 24, 8);
    m_DBGrid1 = list(this, "DBGrid1", m_flow.CotasLiberadas(),
        { { u"Cotacao"_s, Shows::Key, 152 }, { u"TipoStatus"_s, Shows::Status, 70 },
            { u"DataLiberada"_s, Shows::Date, 79 } },
        { 24, 26, 320, 171 });
    heading(this, "Label2", u"Cotações Baixadas"_s, 608, 8);
    m_DBGrid2 = list(this, "DBGrid2", m_flow.CotaBaixadas(),
        { { u"Cotacao"_s, Shows::Key, 144 }, { u"Data"_s, Shows::Date, 77 },
            { u"TipoStatus"_s, Shows::Status, 80 } },
        { 608, 30, 320, 171 });
    heading(this, "Label3", u"Pedidos Liberados"_s, 24, 220);
    m_DBGrid3 = list(this, "DBGrid3", m_flow.PedidosLiberados(),
        { { u"Pedido"_s, Shows::Key, 115 }, { u"TipoStatus"_s, Shows::Status, 73 },
            { u"DataLiberado"_s, Shows::Date, 87 } },
        { 24, 242, 320, 171 });
    heading(this, "Label4", u"Pedidos Baixados"_s, 608, 220);
    m_DBGrid4 = list(this, "DBGrid4", m_flow.PedidosBaixados(),
        { { u"Pedido"_s, Shows::Key, 156 }, { u"Data"_s, Shows::Date, 91 } }, { 608, 242, 320, 171 });

    // Each arrow points at the list it purges.
    m_Button3 = arrow(this, "Button3", u"<- Apaga"_s, 350, 43);
    m_Button2 = arrow(this, "Button2", u"Apaga ->"_s, 527, 43);
    m_Button5 = arrow(this, "Button5", u"<- Apaga"_s, 350, 375);
    m_Button4 = arrow(this, "Button4", u"Apaga ->"_s, 527, 375);
    connect(m_Button3, &QPushButton::clicked, this, &TApagaDados::Button3Click);
    connect(m_Button2, &QPushButton::clicked, this, &TApagaDados::Button2Click);
    connect(m_Button5, &QPushButton::clicked, this, &TApagaDados::Button5Click);
    connect(m_Button4, &QPushButton::clicked, this, &TApagaDados::Button4Click);

    heading(this, "Label5", u"A partir da Data :"_s, 427, 134);
    m_data = namedChild<QDateEdit>(this, "data");
    m_data->setCalendarPopup(true);
    m_data->setGeometry(427, 156, 105, 24);

    m_SpeedButton1 = namedChild<QToolButton>(this, "SpeedButton1");
    m_SpeedButton1->setText(u"Apaga dados antigo"_s);
    m_SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    m_SpeedButton1->setIconSize(QSize(40, 40));
    m_SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_SpeedButton1->setGeometry(416, 206, 130, 82);
    m_SpeedButton1->setCursor(Qt::PointingHandCursor);
    connect(m_SpeedButton1, &QToolButton::clicked, this, &TApagaDados::SpeedButton1Click);

    m_Button1 = arrow(this, "Button1", u"Fecha Janela"_s, 867, 419);
    m_Button1->setFont(font());
    m_Button1->resize(89, 33);
    connect(m_Button1, &QPushButton::clicked, this, &TApagaDados::Button1Click);

    // Beside "Fecha Janela", away from the buttons that delete.
    m_btnRestaura = arrow(this, "btnRestaura", u"Restaurar cópia…"_s, 741, 419);
    m_btnRestaura->setFont(font());
    m_btnRestaura->resize(120, 33);
    connect(m_btnRestaura, &QPushButton::clicked, this, &TApagaDados::btnRestauraClick);

    // The day and what to purge first, the lists after them, closing last.
    chainTabOrder({ m_data, m_SpeedButton1, m_Button3, m_Button2, m_Button5, m_Button4, m_btnRestaura,
        m_DBGrid1, m_DBGrid2, m_DBGrid3, m_DBGrid4, m_Button1 });
    enterPressesButtons(this);
    altF4Closes(this);
    fixAndCentre(this, 964, 460);
}

TApagaDados::~TApagaDados() = default;

void TApagaDados::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TApagaDados::FormShow()
{
    m_data->setDate(Clock::current().now().date());
    m_data->setFocus(Qt::OtherFocusReason);
    m_flow.refreshLists();
}

QDate TApagaDados::cutOff() const
{
    return m_data->date();
}

void TApagaDados::Button3Click()
{
    m_flow.purgeKind(cutOff(), u"CL"_s);
}

void TApagaDados::Button2Click()
{
    m_flow.purgeKind(cutOff(), u"CB"_s);
}

void TApagaDados::Button5Click()
{
    m_flow.purgeKind(cutOff(), u"PL"_s);
}

void TApagaDados::Button4Click()
{
    m_flow.purgeKind(cutOff(), u"PB"_s);
}

void TApagaDados::SpeedButton1Click()
{
    m_flow.purgeAll(cutOff());
}

void TApagaDados::btnRestauraClick()
{
    m_restore.restoreChosen();
    // The lists closed with the store while it was replaced; a store that
    // could not be opened again has shown its error already.
    if (!m_flow.CotasLiberadas().isOpen() && m_dm.isStoreOpen())
        m_flow.refreshLists();
}

void TApagaDados::Button1Click()
{
    done(Accepted);
}

void TApagaDados::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
