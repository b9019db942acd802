#pragma once

#include <QFont>

// The windows are laid out for Tahoma; where it is missing a metric-close
// family stands in for it.
void installFontSubstitutes();

QFont tahomaPt(int points, bool bold = false);
QFont tahomaPx(int pixels, bool bold = false);
