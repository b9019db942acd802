#include "ui/widgets/msg_window.h"

#include "ui/widgets/form_style.h"
#include "ui/widgets/grid.h"
#include "ui/widgets/window_keys.h"

#include <QListWidget>
#include <QPushButton>

TMsg::TMsg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_lstmsg(new QListWidget(this))
    , m_btn1(makeButton(this, "btn1", QStringLiteral("Fechar...."), { 0, 240, 309, 25 }))
{
    setObjectName(QStringLiteral("Msg"));
    setWindowTitle(QStringLiteral("Mensagens"));
    setFont(tahomaPixels(11));
    setFixedSize(309, 265);
    m_lstmsg->setObjectName(QStringLiteral("lstmsg"));
    m_lstmsg->setFont(tahomaPixels(11, true));
    m_lstmsg->setGeometry(0, 0, 309, 240);
    connect(m_btn1, &QPushButton::clicked, this, &QDialog::accept);
    enterPressesButtons(this);
    altF4Closes(this);
}

void TMsg::reject() { }

TMsgLog::TMsgLog(QWidget *parent, QWidget *centreOver)
    : m_window(new TMsg(parent))
    , m_centreOver(centreOver ? centreOver : parent)
{
}

TMsgLog::~TMsgLog()
{
    delete m_window;
}

void TMsgLog::addLine(const QString &line)
{
    m_window->lstmsg()->addItem(line);
}

QStringList TMsgLog::lines() const
{
    QStringList out;
    for (int i = 0; i < m_window->lstmsg()->count(); ++i)
        out << m_window->lstmsg()->item(i)->text();
    return out;
}

void TMsgLog::showModal()
{
    if (m_centreOver) {
        const QRect frame = m_centreOver->window()->frameGeometry();
        m_window->move(frame.center() - m_window->rect().center());
    }
    m_window->exec();
}
