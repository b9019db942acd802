#include "quotations/widgets/downloaded_chooser.h"

#include "quotations/quotation_deadline.h"
#include "quotations/widgets/prazo_refresh.h"
#include "quotations/widgets/released_columns.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

enum Column { CotacaoColumn, StatusColumn, ValidadeColumn, HoraColumn, LiberadaColumn, PrazoColumn };

} // namespace

TCotaBaixada::TCotaBaixada(ReleasedQuotationSet &cotasBaixadas, QWidget *parent)
    : QDialog(
        parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"CotaBaixada"_s);
    setWindowTitle(u"Cotações Baixadas"_s);
    setFont(tahomaPixels(11));

    m_model = new RowModel(cotasBaixadas,
        { releasedColumn(cotasBaixadas, ReleasedField::Cotacao, u"Cotacao"_s, 138),
            releasedColumn(cotasBaixadas, ReleasedField::TipoStatus, u"TipoStatus"_s, 78),
            releasedColumn(cotasBaixadas, ReleasedField::DataValidade, u"DataValidade"_s, 89),
            releasedColumn(cotasBaixadas, ReleasedField::AteHora, u"AteHora"_s, 77),
            releasedColumn(cotasBaixadas, ReleasedField::DataLiberada, u"DataLiberada"_s, 79),
            prazoColumn(PrazoRefresh::columnWidth(this), cotasBaixadas) },
        this);
    m_dbgrd1 = makeRowGrid(this, "dbgrd1", m_model, { 8, 8, 629, 240 });
    m_dbgrd1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_prazo = new PrazoRefresh(this, m_dbgrd1, m_model, PrazoColumn);

    m_btn1 = makeButton(this, "btn1", u"Filtra e Sai"_s, { 8, 256, 110, 27 });
    m_btn2 = makeButton(this, "btn2", u"Desiste"_s, { 126, 256, 110, 27 });
    connect(m_btn1, &QPushButton::clicked, this, &TCotaBaixada::btn1Click);
    connect(m_btn2, &QPushButton::clicked, this, &TCotaBaixada::btn2Click);
    chainTabOrder({ m_dbgrd1, m_btn1, m_btn2 });
    m_dbgrd1->installEventFilter(this);
    enterPressesButtons(this);
    altF4Closes(this);

    fixAndCentre(this, 645, 291);
    m_dbgrd1->setFocus();
}

void TCotaBaixada::btn1Click()
{
    m_okfil = true;
    done(Accepted);
}

void TCotaBaixada::btn2Click()
{
    m_okfil = false;
    done(Rejected);
}

bool TCotaBaixada::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dbgrd1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isPlainEnter(key)) {
            if (!key->isAutoRepeat())
                m_btn1->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TCotaBaixada::tmrPrazoTimer()
{
    m_prazo->refresh();
}

QTimer *TCotaBaixada::tmrPrazo() const
{
    return m_prazo->timer();
}
