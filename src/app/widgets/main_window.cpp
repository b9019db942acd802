#include "app/widgets/main_window.h"

#include "app/widgets/window_launcher.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/hover_bold.h"
#include "ui/widgets/window_keys.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <exception>

TFKelvoCota::TFKelvoCota(Prompts &prompts, MainWorkflow &workflow, const Settings &settings,
    WindowLauncher &launcher, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(prompts)
    , m_workflow(workflow)
    , m_settings(settings)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("FKelvoCota"));
    setWindowTitle(QStringLiteral("Cotação Kelvo - Interface Fornecdor : Ver. 2020.1"));
    setFont(tahomaFont(8));
    setFixedSize(798, 123);

    struct ButtonDef {
        const char *name;
        int left;
        const char *hint;
        QStyle::StandardPixmap icon;
        const char *window;
        bool login;
    };
    const ButtonDef buttons[] = {
        { "btn1", 8, "Verifica cotações liberadas.....", QStyle::SP_BrowserReload, "TFCotaLib", true },
        { "btn3", 61, "Cotações baixadas pra definir Preços...", QStyle::SP_FileDialogDetailedView,
            "TPrecoCota", false },
        { "btn6", 114, "Envia resposta da cotação para Kelvo", QStyle::SP_ArrowForward, "TEnviaCotacao",
            true },
        { "sbDel", 169, "Apaga cotações e pedidos antigos....", QStyle::SP_TrashIcon, "TApagaDados", false },
        { "btn2", 258, "Verifica Pedidos liberados...", QStyle::SP_ArrowDown, "TPedLib", true },
        { "btn5", 314, "Pedidos Baixados.. Para Atendimento...", QStyle::SP_FileDialogContentsView,
            "TPedidosBaixados", false },
        { "btn7", 612, "Consulta cotações respondidas e enviadas", QStyle::SP_FileDialogInfoView,
            "TCotasRespEnv", false },
        { "btn8", 692, nullptr, QStyle::SP_DialogResetButton, "TSetUP", false },
        { "btn4", 742, "Sai do Sistema de Cotação - Fornecedor", QStyle::SP_DialogCloseButton, nullptr,
            false },
    };
    for (const ButtonDef &s : buttons) {
        QToolButton *b = addImageButton(
            QString::fromLatin1(s.name), s.left, s.hint ? QString::fromUtf8(s.hint) : QString(), s.icon);
        // The set-up button puts nothing in the panel, but is named all the same.
        const QString name = s.hint ? QString::fromUtf8(s.hint) : QStringLiteral("Configura usuário e senha");
        b->setToolTip(name);
        b->setAccessibleName(name);
        if (s.window) {
            const QString cls = QString::fromLatin1(s.window);
            const bool login = s.login;
            m_windowButtons.insert(cls, b);
            connect(b, &QToolButton::clicked, this, [this, cls, login] { openWindow(cls, login); });
        } else {
            connect(b, &QToolButton::clicked, this, &QWidget::close);
        }
    }

    m_lbfornec = new QLabel(this);
    m_lbfornec->setObjectName(QStringLiteral("lbfornec"));
    m_lbfornec->setFont(tahomaFont(16));
    m_lbfornec->setGeometry(378, 17, 230, 28);

    m_pnlMsg = new QLabel(this);
    m_pnlMsg->setObjectName(QStringLiteral("pnlMsg"));
    m_pnlMsg->setFont(tahomaFont(12, true));
    m_pnlMsg->setGeometry(8, 57, 783, 33);
    m_pnlMsg->setAlignment(Qt::AlignCenter);
    m_pnlMsg->setFrameStyle(QFrame::Panel | QFrame::Raised);

    m_lbServidor = new QLabel(this);
    m_lbServidor->setObjectName(QStringLiteral("lbServidor"));
    m_lbServidor->setFont(tahomaFont(12, true));
    m_lbServidor->setGeometry(10, 100, 390, 21);

    m_btn9 = new QPushButton(QStringLiteral("Verifica Internet"), this);
    m_btn9->setObjectName(QStringLiteral("btn9"));
    m_btn9->setFlat(true);
    noDefaultButton(m_btn9);
    m_btn9->setGeometry(404, 100, 121, 19);
    new HoverBold(m_btn9);
    connect(m_btn9, &QPushButton::clicked, this, &TFKelvoCota::btn9Click);

    m_lb1 = new QLabel(QStringLiteral("Powered by DOLV"), this);
    m_lb1->setObjectName(QStringLiteral("lb1"));
    QFont bold = font();
    bold.setBold(true);
    m_lb1->setFont(bold);
    m_lb1->setStyleSheet(QStringLiteral("color: red;"));
    m_lb1->move(695, 102);
    m_lb1->adjustSize();

    buildDayPanel();

    // Tab goes along the row, left to right, then to "Verifica Internet",
    // then to the day's counts.
    QWidget *previous = nullptr;
    for (const ButtonDef &s : buttons) {
        QWidget *b = m_buttons.value(QString::fromLatin1(s.name));
        if (previous)
            setTabOrder(previous, b);
        previous = b;
    }
    setTabOrder(previous, m_btn9);
    previous = m_btn9;
    for (QPushButton *b : m_dayButtons) {
        setTabOrder(previous, b);
        previous = b;
    }
    enterPressesButtons(this);
    altF4Closes(this);
}

QToolButton *TFKelvoCota::addImageButton(const QString &name, int left, const QString &hint, int icon)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setGeometry(left, 8, 49, 44);
    b->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (!hint.isEmpty()) {
        m_hints.insert(b, hint);
        b->installEventFilter(this);
    }
    m_buttons.insert(name, b);
    return b;
}

bool TFKelvoCota::eventFilter(QObject *watched, QEvent *event)
{
    // The panel tells what the button under the pointer, or the one the
    // keys reached, does.
    if (m_hints.contains(watched)) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Enter || type == QEvent::FocusIn)
            m_pnlMsg->setText(m_hints.value(watched));
        else if (type == QEvent::Leave || type == QEvent::FocusOut)
            m_pnlMsg->clear();
    }
    // A count tells the same of the window it opens; it drops its flat look
    // while it has the focus, so the keys show where they are.
    const auto day = std::find(m_dayButtons.begin(), m_dayButtons.end(), watched);
    if (day != m_dayButtons.end()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Enter || type == QEvent::FocusIn)
            m_pnlMsg->setText((*day)->toolTip());
        else if (type == QEvent::Leave || type == QEvent::FocusOut)
            m_pnlMsg->clear();
        if (type == QEvent::FocusIn || type == QEvent::FocusOut)
            (*day)->setFlat(type == QEvent::FocusOut);
    }
    return QWidget::eventFilter(watched, event);
}

void TFKelvoCota::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TFKelvoCota::FormShow()
{
    showFornecedor(m_workflow.fornecedorText());
    btn9Click();
}

void TFKelvoCota::showFornecedor(const QString &text)
{
    // A long name ends in "…" short of the next button, whole in its tool tip.
    const int room = 612 - 378 - 4;
    const QString shown = m_lbfornec->fontMetrics().elidedText(text, Qt::ElideRight, room);
    m_lbfornec->setText(shown);
    m_lbfornec->setToolTip(shown == text ? QString() : text);
    m_lbfornec->setAccessibleName(text);
    m_lbfornec->adjustSize();
    m_lbfornec->resize(qMin(m_lbfornec->width(), room), m_lbfornec->height());
}

void TFKelvoCota::btn9Click()
{
    // The server is tried without holding the window: the line says so
    // until it answers, and is written before the box that may follow.
    m_workflow.startInternetCheck(this, [this](const QString &line) {
        m_lbServidor->setText(line);
        m_lbServidor->adjustSize();
    });
}

void TFKelvoCota::openWindow(const QString &windowClass, bool needsLogin)
{
    if (!m_launcher.has(windowClass)) {
        m_prompts.message(QStringLiteral("Atenção"),
            QStringLiteral("Esta função ainda não está disponível nesta versão do programa."));
        return;
    }
    std::optional<Login> login;
    if (needsLogin) {
        const WindowLauncher::LoginAnswer answer
            = m_launcher.runLogin(this, m_settings.usuario, m_settings.senha);
        login = m_workflow.acceptLogin(answer.lok, answer.edt1, answer.edt2);
        if (!login)
            return;
    }
    m_launcher.open(windowClass, this, login ? &*login : nullptr);
    // What the window did may change the day's counts.
    refreshDay();
}

namespace {

constexpr int RowHeight = 123; // the specified client area
constexpr int DayTop = 125;
constexpr int DayHeight = 22;

} // namespace

void TFKelvoCota::buildDayPanel()
{
    const int width = 783 / 3;
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(this);
        b->setObjectName(QStringLiteral("day%1").arg(i + 1));
        placeTextButton(b, QString(), QRect(8 + i * width, DayTop, width, DayHeight));
        b->setFlat(true);
        b->installEventFilter(this);
        b->hide();
        const auto which = DayCount(i);
        connect(b, &QPushButton::clicked, this, [this, which] { openDayCount(which); });
        m_dayButtons[i] = b;
    }
    m_dayTimer = new QTimer(this);
    m_dayTimer->setInterval(60 * 1000);
    connect(m_dayTimer, &QTimer::timeout, this, [this] {
        // A working window open over this one may be in the middle of its
        // work; its closing reads the counts anyway.
        if (!QApplication::activeModalWidget())
            refreshDay();
    });
}

void TFKelvoCota::setDayCounter(DayCounter counter)
{
    m_dayCounter = std::move(counter);
    refreshDay();
    m_dayTimer->start();
}

void TFKelvoCota::refreshDay()
{
    std::optional<DayCounts> counts;
    if (m_dayCounter) {
        try {
            counts = m_dayCounter();
        } catch (const std::exception &) {
            // The start has already told what is wrong with the store; the
            // counts are left out rather than shown wrong.
        }
    }
    const bool shown = counts.has_value();
    if (shown)
        m_dayCounts = *counts;
    const bool hadFocus
        = std::any_of(m_dayButtons.begin(), m_dayButtons.end(), [](QPushButton *b) { return b->hasFocus(); });
    for (int i = 0; i < 3; ++i) {
        QPushButton *b = m_dayButtons[i];
        const auto which = DayCount(i);
        if (shown) {
            const QString text = dayCountText(which, m_dayCounts);
            b->setText(text);
            b->setAccessibleName(text);
            b->setToolTip(m_hints.value(m_windowButtons.value(dayCountWindow(which, m_dayCounts))));
            // Quotations that may still be lost are drawn red, as their "Prazo" is.
            const bool urgent = which == DayCount::DueSoon ? m_dayCounts.dueSoon.total > 0
                : which == DayCount::Overdue               ? m_dayCounts.overdue.total > 0
                                                           : false;
            QPalette palette = this->palette();
            if (urgent)
                palette.setColor(QPalette::ButtonText, Qt::red);
            b->setPalette(palette);
        }
        b->setVisible(shown);
    }
    setFixedSize(798, shown ? DayTop + DayHeight + 3 : RowHeight);
    if (hadFocus && !shown)
        m_btn9->setFocus();
}

void TFKelvoCota::openDayCount(DayCount which)
{
    // The same road as the button of the row: its login, its window.
    if (QToolButton *b = m_windowButtons.value(dayCountWindow(which, m_dayCounts)))
        b->click();
}
