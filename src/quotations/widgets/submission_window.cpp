#include "quotations/widgets/submission_window.h"

#include "exchange/http_client.h"
#include "quotations/quotation_deadline.h"
#include "quotations/widgets/prazo_refresh.h"
#include "quotations/widgets/released_columns.h"
#include "store/data_module.h"
#include "ui/prompts.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

enum Column { CotacaoColumn, StatusColumn, ValidadeColumn, HoraColumn, LiberadaColumn, PrazoColumn };

} // namespace

TEnviaCotacao::TEnviaCotacao(
    Prompts &prompts, TDm &dm, Connectivity &net, const QString &servidor, QWidget *parent)
    : QDialog(
        parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_IdHTTP1(std::make_unique<HttpClient>())
    , m_workflow(std::make_unique<QuotationSubmission>(prompts, dm, net, *m_IdHTTP1, servidor))
    , m_prompts(prompts)
    , m_lbl1(namedChild<QLabel>(this, "lbl1"))
    , m_lbl2(namedChild<QLabel>(this, "lbl2"))
    , m_tmr1(new QTimer(this))
{
    setObjectName(u"EnviaCotacao"_s);
    setWindowTitle(u"Contações Prontas para envia-las a Kelvo Autopeças"_s);
    setFont(tahomaPixels(16));

    m_lbl1->setText(u"Cotações Prontas"_s);
    placeLabel(m_lbl1, 8, 8);

    // The window and its grid are wider than the five columns ask by the
    // column "Prazo", which is read without scrolling.
    const int prazo = PrazoRefresh::columnWidth(this);
    const ReleasedQuotationSet &rows = dm.CotaLiberada();
    m_model = new RowModel(dm.CotaLiberada(),
        { releasedColumn(rows, ReleasedField::Cotacao, u"Cotação"_s, 180),
            releasedColumn(rows, ReleasedField::TipoStatus, u"Status"_s, 106),
            releasedColumn(rows, ReleasedField::DataValidade, u"Deve Entregar em"_s, 157, u"dd/mm/yyyy"_s),
            releasedColumn(rows, ReleasedField::AteHora, u"Até Hora"_s, 97, u"HH:NN"_s),
            releasedColumn(rows, ReleasedField::DataLiberada, u"DataLiberada"_s, 121),
            prazoColumn(prazo, rows) },
        this);
    m_dbgrd1 = makeRowGrid(this, "dbgrd1", m_model, { 8, 32, 713 + prazo, 208 });
    m_dbgrd1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_prazo = new PrazoRefresh(this, m_dbgrd1, m_model, PrazoColumn);
    // Column titles on a green shaded towards light yellow-green.
    setTitleGradient(m_dbgrd1, QColor(135, 205, 133), QColor(225, 247, 138), QColor(110, 160, 110));
    m_dbgrd1->installEventFilter(this);
    connect(&dm.CotaLiberada(), &RowSetBase::currentRowChanged, this, &TEnviaCotacao::ds1DataChange);

    m_btn1 = makeButton(this, "btn1", u"Envia-las Agora?"_s, { 8, 248, 161, 25 });
    connect(m_btn1, &QPushButton::clicked, this, &TEnviaCotacao::btn1Click);

    m_lbl2->setFont(tahomaPixels(16, true));
    QPalette red = m_lbl2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    m_lbl2->setPalette(red);
    m_lbl2->move(180, 249);
    m_lbl2->hide();

    m_btn2 = makeButton(this, "btn2", u"Saída"_s, { 632 + prazo, 246, 88, 25 });
    connect(m_btn2, &QPushButton::clicked, this, &TEnviaCotacao::btn2Click);

    m_tmr1->setObjectName(u"tmr1"_s);
    m_tmr1->setInterval(10000);
    connect(m_tmr1, &QTimer::timeout, this, &TEnviaCotacao::tmr1Timer);

    chainTabOrder({ m_dbgrd1, m_btn1, m_btn2 });
    enterPressesButtons(this);
    altF4Closes(this);
    fixAndCentre(this, 730 + prazo, 281);
}

TEnviaCotacao::~TEnviaCotacao() = default;

void TEnviaCotacao::setXLogin(const QString &login)
{
    m_workflow->setLogin({ login, m_workflow->login().senha });
}

void TEnviaCotacao::setXSenha(const QString &senha)
{
    m_workflow->setLogin({ m_workflow->login().login, senha });
}

void TEnviaCotacao::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TEnviaCotacao::FormShow()
{
    m_closed = false;
    m_lbl2->setText(QuotationSubmission::dataAtual());
    m_lbl2->adjustSize();
    m_lbl2->hide();
    m_tmr1->stop();
    try {
        m_workflow->listReady();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
    if (m_model->rowCount() > 0)
        m_dbgrd1->selectRow(viewRow(m_dbgrd1, m_model->currentRow() < 0 ? 0 : m_model->currentRow()));
    m_dbgrd1->setFocus(Qt::OtherFocusReason);
}

bool TEnviaCotacao::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dbgrd1 && event->type() == QEvent::FocusIn)
        dbgrd1Enter();
    return QDialog::eventFilter(watched, event);
}

void TEnviaCotacao::dbgrd1Enter()
{
    m_lbl2->show();
    m_tmr1->start();
}

void TEnviaCotacao::tmr1Timer()
{
    m_lbl2->setText(QuotationSubmission::dataAtual());
    m_lbl2->adjustSize();
}

void TEnviaCotacao::tmrPrazoTimer()
{
    m_prazo->refresh();
}

QTimer *TEnviaCotacao::tmrPrazo() const
{
    return m_prazo->timer();
}

void TEnviaCotacao::ds1DataChange()
{
    m_workflow->followSelection();
}

void TEnviaCotacao::btn1Click()
{
    m_workflow->sendSelected();
}

void TEnviaCotacao::btn2Click()
{
    close();
}

void TEnviaCotacao::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    try {
        m_workflow->closeList();
    } catch (const std::exception &e) {
        m_prompts.error(errorText(e));
    }
    m_lbl2->hide();
    m_tmr1->stop();
}

void TEnviaCotacao::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TEnviaCotacao::keyPressEvent(QKeyEvent *event)
{
    // Only "Saída" closes the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
