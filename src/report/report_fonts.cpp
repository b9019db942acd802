#include "report/report_fonts.h"

QFont reportFont(const ReportFont &font)
{
    QFont f;
    f.setFamilies({ QStringLiteral("Liberation Sans"), QStringLiteral("Arial") });
    f.setPixelSize(font.pixelSize);
    f.setBold(font.bold);
    // Unhinted metrics are those of the PDF, the printer and every zoom.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}
