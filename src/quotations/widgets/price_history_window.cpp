#include "quotations/widgets/price_history_window.h"

#include "quotations/widgets/price_history_chart.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int Width = 640;
constexpr int Height = 380;

// One line, ending in "…" when too long, whole in its tool tip.
void setLine(QLabel *label, const QString &text)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, label->width());
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
    label->setAccessibleName(text);
}

} // namespace

TPrecoHistorico::TPrecoHistorico(const PriceHistory &history, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(u"PrecoHistorico"_s);
    setWindowTitle(u"Histórico de Preços"_s);
    setFont(tahomaPixels(11));

    m_lblItem = new QLabel(this);
    m_lblItem->setObjectName(u"lblItem"_s);
    m_lblItem->setFont(tahomaPixels(13, true));
    m_lblItem->setTextFormat(Qt::PlainText);
    m_lblItem->setGeometry(8, 8, Width - 16, 20);
    QStringList item { history.marca.trimmed(), history.prodfabr.trimmed() };
    item.removeAll(QString());
    QString heading = item.join(u"  "_s);
    if (!history.descricao.trimmed().isEmpty())
        heading += u" - "_s + history.descricao.trimmed();
    setLine(m_lblItem, heading);

    m_chart = new PriceHistoryChart(this);
    m_chart->setObjectName(u"chart"_s);
    m_chart->setGeometry(8, 34, Width - 16, Height - 34 - 70);

    m_lblPonto = new QLabel(this);
    m_lblPonto->setObjectName(u"lblPonto"_s);
    m_lblPonto->setTextFormat(Qt::PlainText);
    m_lblPonto->setGeometry(8, Height - 62, Width - 16, 20);
    connect(m_chart, &PriceHistoryChart::currentChanged, this,
        [this](const QString &text) { setLine(m_lblPonto, text); });
    m_chart->setHistory(history);

    auto *keys = new QLabel(u"← → Home End: escolhem o ponto"_s, this);
    keys->setObjectName(u"lblTeclas"_s);
    keys->setGeometry(8, Height - 33, 300, 25);

    m_btnFechar = makeButton(
        this, "btnFechar", u"Fechar"_s, { Width - 108, Height - 33, 100, 25 }, ButtonCursor::Arrow);
    connect(m_btnFechar, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(m_chart, m_btnFechar);
    enterPressesButtons(this);
    altF4Closes(this);
    fixAndCentre(this, Width, Height);
    m_chart->setFocus();
}
