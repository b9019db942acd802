#include "report/report_layout.h"

namespace {

ReportElement element(ElementKind kind, QRect rect)
{
    ReportElement e;
    e.kind = kind;
    e.rect = rect;
    return e;
}

} // namespace

ReportElement &ReportElement::px(int pixelSize)
{
    font.pixelSize = pixelSize;
    return *this;
}

ReportElement &ReportElement::bold()
{
    font.bold = true;
    return *this;
}

ReportElement &ReportElement::middle()
{
    alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    return *this;
}

ReportElement &ReportElement::fitText()
{
    fitsText = true;
    return *this;
}

ReportElement &ReportElement::zeroWhenEmpty()
{
    emptyAsZero = true;
    return *this;
}

ReportElement &ReportElement::box()
{
    boxed = true;
    return middle();
}

ReportElement &ReportElement::align(Qt::Alignment horizontal)
{
    alignment = (alignment & Qt::AlignVertical_Mask) | (horizontal & Qt::AlignHorizontal_Mask);
    return *this;
}

ReportElement label(const QString &text, QRect rect)
{
    ReportElement e = element(ElementKind::Label, rect);
    e.text = text;
    return e;
}

ReportElement dataText(const QString &column, QRect rect)
{
    ReportElement e = element(ElementKind::DataText, rect);
    e.columns = QStringList { column };
    return e;
}

ReportElement result(const QStringList &factors, const QString &mask, QRect rect)
{
    ReportElement e = element(ElementKind::Result, rect);
    e.columns = factors;
    e.mask = mask;
    return e;
}

ReportElement pageNumber(const QString &leading, QRect rect)
{
    ReportElement e = element(ElementKind::PageNumber, rect);
    e.text = leading;
    return e;
}

ReportElement preparedAt(const QString &leading, QRect rect)
{
    ReportElement e = element(ElementKind::PreparedAt, rect);
    e.text = leading;
    return e;
}

ReportBand::ReportBand(int bandHeight)
    : height(bandHeight)
{
}

ReportBand &ReportBand::add(ReportElement element)
{
    elements.push_back(std::move(element));
    return *this;
}
