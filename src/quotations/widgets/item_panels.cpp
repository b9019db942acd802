#include "quotations/widgets/item_panels.h"

#include "store/dataset.h"
#include "ui/widgets/form_style.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

const QColor Current(101, 245, 184);
const QColor Other(166, 202, 240);

QLabel *caption(QWidget *parent, const QString &text, int top)
{
    auto *label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->move(6, top);
    label->adjustSize();
    return label;
}

constexpr int NoteWidth = 380;

QLabel *value(QWidget *parent, int left, int top, int width, bool red)
{
    auto *label = new QLabel(parent);
    label->setGeometry(left, top, width, 18);
    label->setTextFormat(Qt::PlainText);
    if (red) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setStyleSheet(u"color: red;"_s);
    }
    return label;
}

} // namespace

ItemPanels::ItemPanels(Dataset &items, QWidget *parent)
    : QWidget(parent)
    , m_items(items)
    , m_aplicacao(items.fieldIndex(u"APLICACAO"_s))
    , m_obs(items.fieldIndex(u"OBS"_s))
    , m_scroll(new QScrollBar(Qt::Vertical, this))
{
    for (int i = 0; i < 2; ++i) {
        Panel &p = m_panels[size_t(i)];
        p.frame = new QWidget(this);
        p.frame->setObjectName(u"panel%1"_s.arg(i + 1));
        p.frame->setGeometry(0, i * PanelHeight, PanelWidth, PanelHeight);
        p.frame->installEventFilter(this);
        QLabel *a = caption(p.frame, u"Aplicação :"_s, 4);
        QLabel *o = caption(p.frame, u"Obs :"_s, 24);
        const int left = qMax(a->width(), o->width()) + 12;
        p.aplicacao = value(p.frame, left, 4, PanelWidth - left - 6, false);
        p.obs = value(p.frame, left, 24, PanelWidth - left - NoteWidth - 12, true);
        p.note = value(p.frame, PanelWidth - NoteWidth - 6, 24, NoteWidth, false);
        p.note->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_scroll->setGeometry(PanelWidth, 0, 17, 2 * PanelHeight);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int row) {
        if (!m_updating)
            moveTo(row);
    });

    connect(&m_items, &Dataset::currentRowChanged, this, &ItemPanels::refresh);
    connect(&m_items, &Dataset::rowChanged, this, &ItemPanels::refresh);
    connect(&m_items, &Dataset::resetDone, this, &ItemPanels::refresh);
    connect(&m_items, &Dataset::rowInserted, this, &ItemPanels::refresh);
    connect(&m_items, &Dataset::rowRemoved, this, &ItemPanels::refresh);
    refresh();
}

void ItemPanels::refresh()
{
    const int count = m_items.isOpen() ? m_items.rowCount() : 0;
    const int current = count > 0 ? qBound(0, m_items.currentRow(), count - 1) : -1;
    // The current item and the next one; on the last item, the one before it.
    const int top = current < 0 ? -1 : qMax(0, qMin(current, count - 2));
    for (int i = 0; i < 2; ++i) {
        const int row = top < 0 || top + i >= count ? -1 : top + i;
        m_rows[size_t(i)] = row;
        Panel &p = m_panels[size_t(i)];
        p.aplicacao->setText(row < 0 ? QString() : m_items.displayText(row, m_aplicacao));
        p.obs->setText(row < 0 ? QString() : m_items.displayText(row, m_obs));
        p.note->setText(row >= 0 && row == current && m_note ? m_note() : QString());
        setWindowColour(p.frame, row >= 0 && row == current ? Current : Other);
    }
    m_updating = true;
    m_scroll->setRange(0, qMax(0, count - 1));
    m_scroll->setValue(qMax(0, current));
    m_scroll->setEnabled(count > 1);
    m_updating = false;
}

void ItemPanels::moveTo(int row)
{
    if (!m_items.isOpen() || row == m_items.currentRow())
        return;
    try {
        m_items.setCurrentRow(row);
    } catch (const std::exception &e) {
        refresh();
        Q_EMIT errorOccurred(QString::fromUtf8(e.what()));
    }
}

void ItemPanels::setCurrentNote(std::function<QString()> note)
{
    m_note = std::move(note);
    refresh();
}

QString ItemPanels::noteText(int panel) const
{
    return m_panels[size_t(panel)].note->text();
}

void ItemPanels::showCurrentNote(const QString &text)
{
    for (size_t i = 0; i < m_panels.size(); ++i)
        if (m_rows[i] >= 0 && m_rows[i] == m_items.currentRow())
            m_panels[i].note->setText(text);
}

QString ItemPanels::aplicacaoText(int panel) const
{
    return m_panels[size_t(panel)].aplicacao->text();
}

QString ItemPanels::obsText(int panel) const
{
    return m_panels[size_t(panel)].obs->text();
}

bool ItemPanels::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 2; ++i) {
            if (watched == m_panels[size_t(i)].frame && m_rows[size_t(i)] >= 0) {
                moveTo(m_rows[size_t(i)]);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
