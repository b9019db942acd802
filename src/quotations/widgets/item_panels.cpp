#include "quotations/widgets/item_panels.h"

#include "ui/widgets/form_style.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QColor Current(101, 245, 184);
const QColor Other(166, 202, 240);
constexpr int Margin = 6;
constexpr int NoteWidth = 440;
constexpr int FirstTop = 4; // the application's line
constexpr int SecondTop = 24; // the observation's line
constexpr int LineHeight = 18;

QLabel *caption(QWidget *parent, const QString &text, int top)
{
    auto *label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->move(Margin, top);
    label->adjustSize();
    return label;
}

QLabel *value(QWidget *parent, bool red)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (red) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setStyleSheet(u"color: red;"_s);
    }
    return label;
}

bool fitsLine(const QLabel *label, const QString &text, int width)
{
    return label->fontMetrics().horizontalAdvance(text) <= width;
}

// One line, ending in "…" when the text is wider; the whole text is then
// the label's tool tip.
void placeLine(QLabel *label, const QString &text, int left, int top, int width)
{
    label->setWordWrap(false);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, width));
    label->setToolTip(fitsLine(label, text, width) ? QString() : text);
    label->setGeometry(left, top, width, LineHeight);
}

// As many lines as the text needs, up to maxHeight.
void placeWrapped(QLabel *label, const QString &text, int left, int top, int width, int maxHeight)
{
    label->setWordWrap(true);
    label->setText(text);
    const int wanted = std::max(LineHeight, label->heightForWidth(width));
    label->setToolTip(wanted > maxHeight ? text : QString());
    label->setGeometry(left, top, width, std::min(wanted, maxHeight));
}

} // namespace

ItemPanels::ItemPanels(QuotationItemSet &items, QWidget *parent)
    : QWidget(parent)
    , m_items(items)
    , m_scroll(new QScrollBar(Qt::Vertical, this))
{
    for (int i = 0; i < 2; ++i) {
        Panel &p = m_panels[size_t(i)];
        p.frame = new QWidget(this);
        p.frame->setObjectName(u"panel%1"_s.arg(i + 1));
        p.frame->setGeometry(0, i * PanelHeight, PanelWidth, PanelHeight);
        p.frame->installEventFilter(this);
        p.aplicacaoCaption = caption(p.frame, u"Aplicação :"_s, FirstTop);
        p.obsCaption = caption(p.frame, u"Obs :"_s, SecondTop);
        m_valueLeft = std::max({ m_valueLeft, p.aplicacaoCaption->width() + 12, p.obsCaption->width() + 12 });
        p.aplicacao = value(p.frame, false);
        p.obs = value(p.frame, true);
        p.note = value(p.frame, false);
        p.note->setAlignment(Qt::AlignRight | Qt::AlignTop);
        p.listNote = value(p.frame, false);
        p.listNote->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    m_scroll->setGeometry(PanelWidth, 0, 17, 2 * PanelHeight);
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int row) {
        if (!m_updating)
            moveTo(row);
    });

    connect(&m_items, &RowSetBase::currentRowChanged, this, &ItemPanels::refresh);
    connect(&m_items, &RowSetBase::rowChanged, this, &ItemPanels::refresh);
    connect(&m_items, &RowSetBase::resetDone, this, &ItemPanels::refresh);
    connect(&m_items, &RowSetBase::rowInserted, this, &ItemPanels::refresh);
    connect(&m_items, &RowSetBase::rowRemoved, this, &ItemPanels::refresh);
    refresh();
}

int ItemPanels::obsWidth(const Panel &p) const
{
    // The note, when there is one, keeps the right of the line.
    const int note = p.note->text().isEmpty() ? 0 : NoteWidth + Margin;
    return PanelWidth - m_valueLeft - Margin - note;
}

int ItemPanels::aplicacaoWidth(const Panel &p) const
{
    const int note = p.listNote->text().isEmpty() ? 0 : NoteWidth + Margin;
    return PanelWidth - m_valueLeft - Margin - note;
}

bool ItemPanels::fitsTwoLines(const Panel &p) const
{
    return fitsLine(p.aplicacao, p.aplicacaoText, aplicacaoWidth(p))
        && fitsLine(p.obs, p.obsText, obsWidth(p));
}

void ItemPanels::refresh()
{
    const int count = m_items.isOpen() ? m_items.rowCount() : 0;
    const int current = count > 0 ? qBound(0, m_items.currentRow(), count - 1) : -1;
    // The current item and the next one; on the last item, the one before it.
    const int top = current < 0 ? -1 : qMax(0, qMin(current, count - 2));
    int whole = -1;
    for (int i = 0; i < 2; ++i) {
        const int row = top < 0 || top + i >= count ? -1 : top + i;
        m_rows[size_t(i)] = row;
        Panel &p = m_panels[size_t(i)];
        // Carriage returns show as blanks; the stored text keeps them.
        p.aplicacaoText = row < 0 ? QString() : QString(m_items.at(row).aplicacao).replace(u'\r', u' ');
        p.obsText = row < 0 ? QString() : m_items.at(row).obs;
        const bool isCurrent = row >= 0 && row == current;
        p.note->setText(isCurrent && m_note ? m_note() : QString());
        p.listNote->setText(isCurrent && m_listNote ? m_listNote() : QString());
        p.note->setToolTip(p.note->text());
        p.listNote->setToolTip(p.listNote->text());
        setWindowColour(p.frame, row >= 0 && row == current ? Current : Other);
        if (row >= 0 && row == current && !fitsTwoLines(p))
            whole = i;
    }
    // Texts too long for their lines: the current item's panel takes the
    // room of both and shows them whole.
    for (int i = 0; i < 2; ++i) {
        if (whole < 0)
            layOutLines(i);
        else if (i == whole)
            layOutWhole(i);
        else
            m_panels[size_t(i)].frame->hide();
    }
    m_updating = true;
    m_scroll->setRange(0, qMax(0, count - 1));
    m_scroll->setValue(qMax(0, current));
    m_scroll->setEnabled(count > 1);
    m_updating = false;
}

void ItemPanels::layOutLines(int panel)
{
    Panel &p = m_panels[size_t(panel)];
    p.frame->setGeometry(0, panel * PanelHeight, PanelWidth, PanelHeight);
    p.frame->show();
    p.obsCaption->move(Margin, SecondTop);
    placeLine(p.aplicacao, p.aplicacaoText, m_valueLeft, FirstTop, aplicacaoWidth(p));
    placeLine(p.obs, p.obsText, m_valueLeft, SecondTop, obsWidth(p));
    p.listNote->setGeometry(PanelWidth - NoteWidth - Margin, FirstTop, NoteWidth, LineHeight);
    p.note->setGeometry(PanelWidth - NoteWidth - Margin, SecondTop, NoteWidth, LineHeight);
}

void ItemPanels::layOutWhole(int panel)
{
    Panel &p = m_panels[size_t(panel)];
    const int height = 2 * PanelHeight;
    p.frame->setGeometry(0, 0, PanelWidth, height);
    p.frame->show();
    p.frame->raise();
    // The application leaves at least one line to the observation.
    placeWrapped(p.aplicacao, p.aplicacaoText, m_valueLeft, FirstTop, aplicacaoWidth(p),
        height - FirstTop - 2 * Margin - LineHeight);
    p.listNote->setGeometry(PanelWidth - NoteWidth - Margin, FirstTop, NoteWidth, LineHeight);
    const int obsTop = p.aplicacao->geometry().bottom() + 1 + Margin;
    p.obsCaption->move(Margin, obsTop);
    placeWrapped(p.obs, p.obsText, m_valueLeft, obsTop, obsWidth(p), height - obsTop - Margin / 2);
    p.note->setGeometry(PanelWidth - NoteWidth - Margin, obsTop, NoteWidth, LineHeight);
}

void ItemPanels::moveTo(int row)
{
    if (m_items.isOpen() && row != m_items.currentRow())
        m_items.setCurrentRow(row);
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

void ItemPanels::setCurrentListNote(std::function<QString()> note)
{
    m_listNote = std::move(note);
    refresh();
}

QString ItemPanels::listNoteText(int panel) const
{
    return m_panels[size_t(panel)].listNote->text();
}

void ItemPanels::showCurrentNote(const QString &text)
{
    for (size_t i = 0; i < m_panels.size(); ++i)
        if (m_rows[i] >= 0 && m_rows[i] == m_items.currentRow()) {
            m_panels[i].note->setText(text);
            m_panels[i].note->setToolTip(text);
        }
}

void ItemPanels::showCurrentListNote(const QString &text)
{
    for (size_t i = 0; i < m_panels.size(); ++i)
        if (m_rows[i] >= 0 && m_rows[i] == m_items.currentRow()) {
            m_panels[i].listNote->setText(text);
            m_panels[i].listNote->setToolTip(text);
        }
}

QString ItemPanels::aplicacaoText(int panel) const
{
    return m_panels[size_t(panel)].aplicacaoText;
}

QString ItemPanels::obsText(int panel) const
{
    return m_panels[size_t(panel)].obsText;
}

QLabel *ItemPanels::aplicacaoLabel(int panel) const
{
    return m_panels[size_t(panel)].aplicacao;
}

QLabel *ItemPanels::obsLabel(int panel) const
{
    return m_panels[size_t(panel)].obs;
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
