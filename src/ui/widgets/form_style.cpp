#include "ui/widgets/form_style.h"

#include "ui/widgets/hover_bold.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

QFont tahomaFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Tahoma"), pointSize);
    font.setFamilies(
        { QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
    font.setBold(bold);
    return font;
}

QFont tahomaPixels(int pixelSize, bool bold)
{
    QFont font = tahomaFont(9, bold);
    font.setPixelSize(pixelSize);
    return font;
}

void placeLabel(QLabel *label, int left, int top)
{
    label->move(left, top);
    label->adjustSize();
}

void noDefaultButton(QPushButton *button)
{
    button->setAutoDefault(false);
    button->setDefault(false);
}

void placeTextButton(QPushButton *button, const QString &text, const QRect &place)
{
    noDefaultButton(button);
    button->setText(text);
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    new HoverBold(button);
}

void setBoxText(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->setCursorPosition(0);
    // The frame and the text's own margins take a few pixels of the width.
    const int room
        = box->contentsRect().width() - 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4;
    box->setToolTip(box->fontMetrics().horizontalAdvance(text) > room ? text : QString());
}

void chainTabOrder(std::initializer_list<QWidget *> widgets)
{
    QWidget *previous = nullptr;
    for (QWidget *widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void setWindowColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setBaseColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

void fixAndCentre(QWidget *window, int width, int height)
{
    window->setFixedSize(width, height);
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        // Placing it here also keeps a dialog from being centred on its parent.
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(width / 2, height / 2));
    }
}
