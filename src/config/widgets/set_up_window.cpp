#include "config/widgets/set_up_window.h"

#include "ui/widgets/enter_moves_focus.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/upper_case_validator.h"
#include "ui/widgets/window_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TSetUP::TSetUP(Prompts &prompts, const QString &folder, Settings &settings, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_flow(prompts, folder, settings)
    , m_lb1(namedChild<QLabel>(this, "lb1"))
    , m_lb2(namedChild<QLabel>(this, "lb2"))
    , m_eduser(namedChild<QLineEdit>(this, "eduser"))
    , m_edpass(namedChild<QLineEdit>(this, "edpass"))
    , m_btn1(namedChild<QPushButton>(this, "btn1"))
    , m_btn2(namedChild<QPushButton>(this, "btn2"))
{
    setObjectName(QStringLiteral("SetUP"));
    setWindowTitle(QStringLiteral("Set User / Password"));
    setFont(tahomaFont(10));

    m_lb1->setText(QStringLiteral("Usuario :"));
    placeLabel(m_lb1, 8, 18);
    m_lb2->setText(QStringLiteral("Senha :"));
    placeLabel(m_lb2, 15, 48);

    auto *upper = new UpperCaseValidator(this);
    m_eduser->setGeometry(66, 15, 121, 24);
    m_eduser->setPlaceholderText(QStringLiteral("Usuário"));
    m_edpass->setGeometry(66, 45, 121, 24);
    m_edpass->setPlaceholderText(QStringLiteral("Senha"));
    for (QLineEdit *edit : { m_eduser, m_edpass })
        edit->setValidator(upper);

    placeTextButton(m_btn1, QStringLiteral("Grava"), { 163, 96, 75, 25 });
    placeTextButton(m_btn2, QStringLiteral("Desiste"), { 78, 96, 75, 25 });
    connect(m_btn1, &QPushButton::clicked, this, &TSetUP::btn1Click);
    connect(m_btn2, &QPushButton::clicked, this, &TSetUP::btn2Click);

    chainTabOrder({ m_eduser, m_edpass, m_btn1, m_btn2 });
    new EnterMovesFocus(this, { m_eduser, m_edpass, m_btn1, m_btn2 });
    altF4Closes(this);

    fixAndCentre(this, 246, 125);
}

void TSetUP::btn1Click()
{
    if (m_flow.save(m_eduser->text(), m_edpass->text()))
        accept();
}

void TSetUP::btn2Click()
{
    reject();
}
