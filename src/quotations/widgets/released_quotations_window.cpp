#include "quotations/widgets/released_quotations_window.h"

#include "quotations/quotation_deadline.h"
#include "quotations/widgets/prazo_refresh.h"
#include "quotations/widgets/released_columns.h"
#include "store/data_module.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

enum Column { CotacaoColumn, StatusColumn, ValidadeColumn, HoraColumn, PrazoColumn };

// A row by its status: sky blue bold for "ABERTA", light green bold for
// "BAIXADA" (any case), the grid's own look for the rest.
QVariant rowStyle(const QString &tipoStatus, int role)
{
    const QString status = tipoStatus.toUpper();
    if (status == u"ABERTA")
        return cellStyle(role, QColor(135, 206, 235), true);
    if (status == u"BAIXADA")
        return cellStyle(role, QColor(192, 220, 192), true);
    return {};
}

} // namespace

TFCotaLib::TFCotaLib(Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, QWidget *parent)
    : QDialog(
        parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_flow(prompts, dm, net, m_IdHTTP1, servidor)
{
    setObjectName(u"FCotaLib"_s);
    setWindowTitle(u"Cotações Liberadas"_s);
    setFont(tahomaPixels(13));
    setWindowColour(this, QColor(248, 176, 80));

    // The window and its grid are wider than the four columns ask by the
    // column "Prazo", which is read without scrolling.
    const int prazo = PrazoRefresh::columnWidth(this);
    const ReleasedQuotationSet &rows = dm.CotaLiberada();
    const auto style = [&rows](int row, int role) { return rowStyle(rows.at(row).tipoStatus, role); };
    m_model = new RowModel(dm.CotaLiberada(),
        { releasedColumn(rows, ReleasedField::Cotacao, u"Cotação"_s, 201, {}, style),
            releasedColumn(rows, ReleasedField::TipoStatus, u"Status"_s, 109, {}, style),
            releasedColumn(
                rows, ReleasedField::DataValidade, u"Data Validade"_s, 103, u"dd/mm/yyyy"_s, style),
            releasedColumn(rows, ReleasedField::AteHora, u"Até Hora"_s, 86, u"HH:NN"_s, style),
            prazoColumn(prazo, rows, style) },
        this);
    m_dbgrd1 = makeRowGrid(this, "dbgrd1", m_model, { 8, 8, 566 + prazo, 244 });
    m_dbgrd1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTitleColour(m_dbgrd1, QColor(225, 247, 138));
    m_prazo = new PrazoRefresh(this, m_dbgrd1, m_model, PrazoColumn);

    m_btn1 = makeButton(this, "btn1", u"Verificar"_s, { 8, 262, 105, 28 });
    m_btn2 = makeButton(this, "btn2", u"Baixar"_s, { 121, 262, 105, 28 });
    m_btn3 = makeButton(this, "btn3", u"Saída"_s, { 469 + prazo, 262, 105, 28 });
    connect(m_btn1, &QPushButton::clicked, this, &TFCotaLib::btn1Click);
    connect(m_btn2, &QPushButton::clicked, this, &TFCotaLib::btn2Click);
    connect(m_btn3, &QPushButton::clicked, this, &TFCotaLib::btn3Click);
    chainTabOrder({ m_dbgrd1, m_btn1, m_btn2, m_btn3 });
    enterPressesButtons(this);
    altF4Closes(this);

    fixAndCentre(this, 582 + prazo, 298);
}

TFCotaLib::~TFCotaLib() = default;

void TFCotaLib::setXLogin(const QString &login)
{
    m_flow.setLogin({ login, m_flow.login().senha });
}

void TFCotaLib::setXSenha(const QString &senha)
{
    m_flow.setLogin({ m_flow.login().login, senha });
}

void TFCotaLib::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFCotaLib::FormShow()
{
    m_flow.openTables();
    m_dbgrd1->setFocus();
}

void TFCotaLib::btn1Click()
{
    m_flow.fetchList();
}

void TFCotaLib::btn2Click()
{
    m_flow.downloadItems();
}

void TFCotaLib::tmrPrazoTimer()
{
    m_prazo->refresh();
}

QTimer *TFCotaLib::tmrPrazo() const
{
    return m_prazo->timer();
}

void TFCotaLib::btn3Click()
{
    done(Accepted);
}
