#include "config/widgets/login_window.h"

#include "ui/widgets/enter_moves_focus.h"
#include "ui/widgets/form_style.h"
#include "ui/widgets/upper_case_validator.h"
#include "ui/widgets/window_keys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor kBackground(254, 240, 165);
const QColor kEditColour(225, 247, 138);

} // namespace

TFLogin::TFLogin(QWidget *parent)
    : QDialog(
        parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_lbl1(namedChild<QLabel>(this, "lbl1"))
    , m_lbl2(namedChild<QLabel>(this, "lbl2"))
    , m_edt1(namedChild<QLineEdit>(this, "edt1"))
    , m_edt2(namedChild<QLineEdit>(this, "edt2"))
    , m_btn1(namedChild<QPushButton>(this, "btn1"))
    , m_btn2(namedChild<QPushButton>(this, "btn2"))
{
    setObjectName(QStringLiteral("FLogin"));
    setWindowTitle(QStringLiteral("Login - Servidor Kelvo"));
    setFont(tahomaFont(12));
    setWindowColour(this, kBackground);

    m_lbl1->setText(QStringLiteral("Login :"));
    placeLabel(m_lbl1, 28, 13);
    m_lbl2->setText(QStringLiteral("Senha :"));
    placeLabel(m_lbl2, 24, 48);

    auto *upper = new UpperCaseValidator(this);
    for (QLineEdit *edit : { m_edt1, m_edt2 }) {
        setBaseColour(edit, kEditColour);
        edit->setValidator(upper);
    }
    m_edt1->setGeometry(81, 10, 121, 27);
    m_edt2->setGeometry(81, 45, 121, 27);
    m_edt2->setEchoMode(QLineEdit::Password);
    m_edt2->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    placeTextButton(m_btn1, QStringLiteral("Ok"), { 104, 112, 81, 25 });
    placeTextButton(m_btn2, QStringLiteral("Cancela"), { 203, 112, 81, 25 });
    connect(m_btn1, &QPushButton::clicked, this, &TFLogin::btn1Click);
    connect(m_btn2, &QPushButton::clicked, this, &TFLogin::btn2Click);

    chainTabOrder({ m_edt1, m_edt2, m_btn1, m_btn2 });
    // Enter moves on from every control, the buttons too: it never clicks one.
    new EnterMovesFocus(this, { m_edt1, m_edt2, m_btn1, m_btn2 });
    altF4Closes(this);

    fixAndCentre(this, 290, 143);
}

void TFLogin::btn1Click()
{
    m_lok = true;
    done(Accepted);
}

void TFLogin::btn2Click()
{
    m_lok = false;
    done(Rejected);
}

void TFLogin::reject() { }
