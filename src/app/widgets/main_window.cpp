#include "app/widgets/main_window.h"

#include "app/widgets/window_launcher.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/hover_bold.h"
#include "ui/widgets/window_keys.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

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

    // Tab goes along the row, left to right, then to "Verifica Internet".
    QWidget *previous = nullptr;
    for (const ButtonDef &s : buttons) {
        QWidget *b = m_buttons.value(QString::fromLatin1(s.name));
        if (previous)
            setTabOrder(previous, b);
        previous = b;
    }
    setTabOrder(previous, m_btn9);
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
}
