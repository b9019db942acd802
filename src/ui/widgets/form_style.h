#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include <initializer_list>

class QLabel;
class QLineEdit;
class QPushButton;
class QRect;

// Helpers for the fixed-layout windows: every control sits at a given place
// in a client area of fixed size.

// Tahoma at pointSize, falling back to its metric look-alikes where it is not
// installed.
QFont tahomaFont(int pointSize, bool bold = false);
// The same at a size in pixels, for windows laid out in pixels.
QFont tahomaPixels(int pixelSize, bool bold = false);

// A label's top-left corner at (left, top), sized to its text.
void placeLabel(QLabel *label, int left, int top);

// No window of ours has a default button: a QPushButton in a QDialog is
// auto-default, so Enter anywhere in the window would click it.
void noDefaultButton(QPushButton *button);

// A text button at place with the hand cursor, reachable by Tab, whose
// caption turns bold under the mouse pointer; never a default button.
void placeTextButton(QPushButton *button, const QString &text, const QRect &place);

// Shows text in a read-only box from its start; a text wider than the box
// is shown whole as its tool tip.
void setBoxText(QLineEdit *box, const QString &text);

// Tab moves through widgets in the order given.
void chainTabOrder(std::initializer_list<QWidget *> widgets);

// Fills the widget's background with colour (QPalette::Window).
void setWindowColour(QWidget *widget, const QColor &colour);

// Sets the colour of an edit field's text area (QPalette::Base).
void setBaseColour(QWidget *widget, const QColor &colour);

// Gives a window a client area of fixed size, centred on its screen.
void fixAndCentre(QWidget *window, int width, int height);

// A child of parent with its object name set, so that tests and style sheets
// find every control by the name it has in the code.
template <typename T> T *namedChild(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}
