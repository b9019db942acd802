#include "ui/widgets/fonts.h"

#include <QStringList>

void installFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont tahomaPt(int points, bool bold)
{
    installFontSubstitutes();
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QFont tahomaPx(int pixels, bool bold)
{
    installFontSubstitutes();
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}
