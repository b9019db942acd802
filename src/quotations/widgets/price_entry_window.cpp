#include "quotations/widgets/price_entry_window.h"

#include "quotations/widgets/downloaded_chooser.h"
#include "quotations/widgets/item_panels.h"
#include "quotations/widgets/price_delegate.h"
#include "quotations/widgets/price_history_window.h"
#include "store/data_module.h"
#include "store/field.h"
#include "ui/row_model.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

const QColor Mint(101, 245, 184);
constexpr int CountLeft = 736; // the count of priced items, right of the hint lb1
constexpr int SearchLeft = 886; // the search box, at the right
const QColor LightBlue(201, 217, 241);

// The grid's columns, in its order.
enum Column { Marca, Prodfabr, Descricao, Un, Qtde, Valor, Similares };

QVariant number(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

// A text column shown only, in mint green.
GridColumn shownText(const QuotationItemSet &items, const QString &title, int width,
    CotacaoForncColumn column, QString QuotationItemRow::*member)
{
    return { title, width,
        rowCells<QuotationItemRow>(items,
            [member](const QuotationItemRow &item, int role) -> QVariant {
                if (role == Qt::DisplayRole || role == Qt::EditRole)
                    return item.*member;
                return cellStyle(role, Mint, false);
            }),
        {}, cotacaoForncField(column).size };
}

QLabel *heading(QWidget *parent, const char *name, const QString &text, int left, bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(tahomaPixels(13, bold));
    label->move(left, 11);
    label->adjustSize();
    return label;
}

} // namespace

TPrecoCota::TPrecoCota(Prompts &prompts, TDm &dm, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(prompts)
    , m_dm(dm)
    , m_flow(prompts, dm)
    , m_exchange(prompts, dm)
{
    setObjectName(u"PrecoCota"_s);
    setWindowTitle(u"Define Preços dos Itens da Contação"_s);
    setFont(tahomaPixels(11));
    m_runChooser = [this](ReleasedQuotationSet &cotasBaixadas) {
        TCotaBaixada chooser(cotasBaixadas, this);
        chooser.exec();
        return chooser.okfil();
    };
    m_runHistory = [this](const PriceHistory &history) {
        TPrecoHistorico window(history, this);
        window.exec();
    };

    m_lbl1 = heading(this, "lbl1", u"Itens da Cotação :"_s, 8, false);
    m_lblCota
        = heading(this, "lblCota", QString(PriceEntry::NoQuotation), m_lbl1->geometry().right() + 6, true);
    m_lblCota->setMinimumWidth(150);
    m_btn3 = makeButton(this, "btn3", u"Cotações Baixadas"_s, { 300, 8, 135, 21 });
    m_lb1 = heading(this, "lb1", u"F2 - No item selecionado, digita observação"_s, 460, true);

    const QuotationItemSet &items = dm.CotaFornec();
    // The columns shown only are mint green in a normal weight; the price and
    // the similar item are typed in, each stored at once by the item's rowid.
    const auto typed = [this](CotacaoForncColumn column) {
        return [this, column](int row, const QVariant &value) { m_flow.storeItemColumn(row, column, value); };
    };
    const auto quantity = [](const QuotationItemRow &item, int role) -> QVariant {
        if (role == Qt::DisplayRole)
            return formatValue(number(item.qtde), FieldType::Float, u"0.00"_s);
        if (role == Qt::EditRole)
            return formatValue(number(item.qtde), FieldType::Float, QString());
        return cellStyle(role, Mint, false);
    };
    const auto price = [](const QuotationItemRow &item, int role) -> QVariant {
        if (role == Qt::DisplayRole)
            return formatValue(number(item.valor), FieldType::Float, u"0.00"_s);
        if (role == Qt::EditRole)
            return formatValue(number(item.valor), FieldType::Float, QString());
        return cellStyle(role, LightBlue);
    };
    const auto similar = [](const QuotationItemRow &item, int role) -> QVariant {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return item.similares;
        return cellStyle(role, LightBlue);
    };
    m_model = new RowModel(dm.CotaFornec(),
        {
            shownText(items, u"MARCA"_s, 115, CotacaoForncColumn::MARCA, &QuotationItemRow::marca),
            shownText(items, u"PRODFABR"_s, 87, CotacaoForncColumn::PRODFABR, &QuotationItemRow::prodfabr),
            shownText(
                items, u"DESCRICAO"_s, 440, CotacaoForncColumn::DESCRICAO, &QuotationItemRow::descricao),
            shownText(items, u"UN"_s, 25, CotacaoForncColumn::UN, &QuotationItemRow::un),
            { u"QTDE"_s, 49, rowCells<QuotationItemRow>(items, quantity), {}, 0, true },
            { u"VALOR"_s, 71, rowCells<QuotationItemRow>(items, price), typed(CotacaoForncColumn::VALOR), 0,
                true },
            { u"SIMILARES"_s, 181, rowCells<QuotationItemRow>(items, similar),
                typed(CotacaoForncColumn::SIMILARES), cotacaoForncField(CotacaoForncColumn::SIMILARES).size },
        },
        this);
    connect(
        m_model, &RowModel::errorOccurred, this, [this](const QString &message) { m_prompts.error(message); },
        Qt::QueuedConnection);

    m_dbgrd1 = makeRowGrid(this, "dbgrd1", m_model, { 3, 36, 1012, 395 });
    m_dbgrd1->setFrameShape(QFrame::NoFrame);
    setBaseColour(m_dbgrd1, LightBlue);
    // F2 is the observation key here, not the cell editor's.
    m_dbgrd1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
        | QAbstractItemView::AnyKeyPressed);
    m_dbgrd1->setTabKeyNavigation(true);
    m_prices = new PriceDelegate(m_flow, prompts, m_dbgrd1);
    m_dbgrd1->setItemDelegateForColumn(Valor, m_prices);
    m_dbgrd1->installEventFilter(this);

    m_DBCtrlGrid1 = new ItemPanels(dm.CotaFornec(), this);
    m_DBCtrlGrid1->setObjectName(u"DBCtrlGrid1"_s);
    m_DBCtrlGrid1->setGeometry(3, 437, 1012, 90);
    m_DBCtrlGrid1->setCurrentNote([this] { return m_flow.currentLastPriceText(); });
    m_DBCtrlGrid1->setCurrentListNote([this] { return m_flow.currentListPriceText(); });

    // Of this window's buttons only "Cotações Baixadas" has the hand cursor.
    const auto arrow = ButtonCursor::Arrow;
    m_btn2 = makeButton(this, "btn2", u"Pronto Para envio"_s, { 8, 536, 100, 25 }, arrow);
    m_btn4 = makeButton(this, "btn4", u"Imprime Cotação"_s, { 116, 536, 113, 25 }, arrow);
    m_btn5 = makeButton(this, "btn5", u"Exporta para o Excel"_s, { 237, 536, 126, 25 }, arrow);
    m_btn6 = makeButton(this, "btn6", u"Importa do Excel"_s, { 371, 536, 126, 25 }, arrow);
    m_btn7 = makeButton(this, "btn7", u"Últimos preços"_s, { 505, 536, 96, 25 }, arrow);
    m_btnTabela = makeButton(this, "btnTabela", u"Tabela de preços"_s, { 607, 536, 104, 25 }, arrow);
    m_btnTabela->setToolTip(u"Importa a sua tabela de preços de uma planilha .xlsx ou de um arquivo CSV"_s);
    m_btnPrecosTabela
        = makeButton(this, "btnPrecosTabela", u"Preços da tabela"_s, { 717, 536, 104, 25 }, arrow);
    m_btnPrecosTabela->setToolTip(
        u"Dá a cada item sem preço o preço da tabela (F4: só ao item selecionado)"_s);
    m_btnHistorico = makeButton(this, "btnHistorico", u"Histórico"_s, { 827, 536, 76, 25 }, arrow);
    m_btnHistorico->setToolTip(u"Os preços que você já deu para o item selecionado (F5)"_s);
    m_btn1 = makeButton(this, "btn1", u"Saída"_s, { 910, 536, 100, 25 }, arrow);
    connect(m_btn1, &QPushButton::clicked, this, &TPrecoCota::btn1Click);
    connect(m_btn2, &QPushButton::clicked, this, &TPrecoCota::btn2Click);
    connect(m_btn3, &QPushButton::clicked, this, &TPrecoCota::btn3Click);
    connect(m_btn4, &QPushButton::clicked, this, &TPrecoCota::btn4Click);
    connect(m_btn5, &QPushButton::clicked, this, &TPrecoCota::btn5Click);
    connect(m_btn6, &QPushButton::clicked, this, &TPrecoCota::btn6Click);
    connect(m_btn7, &QPushButton::clicked, this, &TPrecoCota::btn7Click);
    connect(m_btnTabela, &QPushButton::clicked, this, &TPrecoCota::btnTabelaClick);
    connect(m_btnPrecosTabela, &QPushButton::clicked, this, &TPrecoCota::btnPrecosTabelaClick);
    connect(m_btnHistorico, &QPushButton::clicked, this, &TPrecoCota::btnHistoricoClick);
    setTabOrder(m_btn3, m_dbgrd1);
    setTabOrder(m_dbgrd1, m_btn2);
    setTabOrder(m_btn2, m_btn4);
    setTabOrder(m_btn4, m_btn5);
    setTabOrder(m_btn5, m_btn6);
    setTabOrder(m_btn6, m_btn7);
    setTabOrder(m_btn7, m_btnTabela);
    setTabOrder(m_btnTabela, m_btnPrecosTabela);
    setTabOrder(m_btnPrecosTabela, m_btnHistorico);
    setTabOrder(m_btnHistorico, m_btn1);
    enterPressesButtons(this);
    altF4Closes(this);

    // For a long quotation: how many items carry a price, and a search by
    // brand, maker's code or description, right of the hint lb1 and clear of
    // the controls above.
    m_edtBusca = new QLineEdit(this);
    m_edtBusca->setObjectName(u"edtBusca"_s);
    m_edtBusca->setGeometry(SearchLeft, 8, 1012 - SearchLeft, 21);
    m_edtBusca->setPlaceholderText(u"Procurar (Ctrl+F)"_s);
    m_edtBusca->setAccessibleName(u"Procurar item"_s);
    m_edtBusca->setToolTip(u"Procura o item pela marca, pelo código do fabricante ou pela descrição "
                           u"(Ctrl+F). Enter vai ao próximo."_s);
    m_lblPrecos = new QLabel(this);
    m_lblPrecos->setObjectName(u"lblPrecos"_s);
    m_lblPrecos->setFont(tahomaPixels(11, true));
    m_lblPrecos->setGeometry(CountLeft, 8, SearchLeft - 6 - CountLeft, 21);
    m_lblPrecos->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblPrecos->setAccessibleName(u"Itens com preço"_s);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TPrecoCota::showPricedCount);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TPrecoCota::showPricedCount);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TPrecoCota::showPricedCount);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TPrecoCota::showPricedCount);
    connect(m_edtBusca, &QLineEdit::textEdited, this, [this] { edtBuscaFind(false); });
    connect(m_edtBusca, &QLineEdit::returnPressed, this, [this] { edtBuscaFind(true); });
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_edtBusca->setFocus(Qt::ShortcutFocusReason);
        m_edtBusca->selectAll();
    });
    setTabOrder(m_btn3, m_edtBusca);
    setTabOrder(m_edtBusca, m_dbgrd1);

    fixAndCentre(this, 1018, 569);
}

TPrecoCota::~TPrecoCota() = default;

void TPrecoCota::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TPrecoCota::FormShow()
{
    m_flow.start();
    m_lblCota->setText(m_flow.chosenQuotation());
}

bool TPrecoCota::leaveEditor()
{
    return m_prices->finishEdit();
}

void TPrecoCota::btn3Click()
{
    if (!leaveEditor())
        return;
    if (m_flow.chooseQuotation(m_runChooser))
        m_flow.warnPastDeadline();
    showChoice();
}

void TPrecoCota::showChoice()
{
    m_lblCota->setText(m_flow.chosenQuotation());
    const int row = qMax(0, m_dm.CotaFornec().currentRow());
    if (m_model->rowCount() > 0)
        m_dbgrd1->setCurrentIndex(m_model->index(row, Valor));
    m_dbgrd1->setFocus();
}

void TPrecoCota::btn2Click()
{
    if (!leaveEditor())
        return;
    m_flow.markReady();
    m_lblCota->setText(m_flow.chosenQuotation());
}

void TPrecoCota::btn4Click()
{
    if (leaveEditor())
        m_flow.printQuotation();
}

void TPrecoCota::btn5Click()
{
    if (leaveEditor())
        m_exchange.exportItems();
}

void TPrecoCota::btn6Click()
{
    if (leaveEditor())
        m_exchange.importItems();
}

void TPrecoCota::btn7Click()
{
    if (leaveEditor())
        m_flow.fillPrices(PriceSource::LastPrice);
}

void TPrecoCota::btnTabelaClick()
{
    if (leaveEditor() && m_flow.importPriceList())
        m_DBCtrlGrid1->refresh();
}

void TPrecoCota::btnPrecosTabelaClick()
{
    if (leaveEditor())
        m_flow.fillPrices(PriceSource::PriceList);
}

void TPrecoCota::btnHistoricoClick()
{
    if (!leaveEditor() || m_model->rowCount() == 0)
        return;
    if (const std::optional<PriceHistory> history = m_flow.currentPriceHistory())
        m_runHistory(*history);
}

void TPrecoCota::btn1Click()
{
    done(Accepted);
}

bool TPrecoCota::dbgrd1KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F2) {
        if (leaveEditor())
            m_flow.editObservation();
        return true;
    }
    if (key == Qt::Key_F3) {
        // Without a last price the key would do nothing, silently: say so.
        if (leaveEditor() && m_model->rowCount() > 0 && !m_flow.copyLastPrice() && !m_flow.currentLastPrice())
            m_DBCtrlGrid1->showCurrentNote(PriceEntry::noLastPriceText());
        return true;
    }
    if (key == Qt::Key_F4) {
        // An item left without its list price says why: none, or its unit.
        if (leaveEditor() && m_model->rowCount() > 0 && !m_flow.copyListPrice()) {
            const QString why = m_flow.currentListPriceText();
            m_DBCtrlGrid1->showCurrentListNote(why.isEmpty() ? PriceEntry::noListText() : why);
        }
        return true;
    }
    if (key == Qt::Key_F5) {
        btnHistoricoClick();
        return true;
    }
    if (key == Qt::Key_Delete && (modifiers & Qt::ControlModifier)) {
        m_flow.deleteItem();
        return true;
    }
    return false;
}

bool TPrecoCota::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dbgrd1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (dbgrd1KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPrecoCota::showPricedCount()
{
    m_lblPrecos->setText(m_flow.pricedCountText());
}

void TPrecoCota::edtBuscaFind(bool next)
{
    const QModelIndex current = m_dbgrd1->currentIndex();
    const int from = current.isValid() ? current.row() + (next ? 1 : 0) : 0;
    const int row = m_flow.findItem(m_edtBusca->text(), from);
    // A text that no item holds turns the box pink; the grid stays.
    const bool missing = row < 0 && !m_edtBusca->text().trimmed().isEmpty();
    m_edtBusca->setStyleSheet(missing ? u"QLineEdit { background: rgb(255, 205, 205); }"_s : QString());
    if (row < 0 || !leaveEditor())
        return;
    m_dbgrd1->setCurrentIndex(m_model->index(row, current.isValid() ? current.column() : Valor));
}

void TPrecoCota::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPrecoCota::done(int result)
{
    // A price still in its editor reaches the table before the window goes;
    // one that is not a number keeps the window open.
    if (!leaveEditor())
        return;
    QDialog::done(result);
}
