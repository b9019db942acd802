#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A banded report described as data: the page, its bands and their
// elements. Positions and sizes are pixels at 96 per inch; fonts are Arial
// (drawn with its metric twin where Arial is missing) in pixels.

struct ReportFont {
    int pixelSize = 13;
    bool bold = false;
    friend bool operator==(const ReportFont &, const ReportFont &) = default;
};

enum class ElementKind {
    Label, // fixed text
    DataText, // the display text of one column of the current row
    Result, // a running sum over the rows, written with its mask
    PageNumber, // leading text and the page number
    PreparedAt, // leading text and the date and time of preparation
};

struct ReportElement {
    ElementKind kind = ElementKind::Label;
    QRect rect; // within its band; for an element sized to its text, the design size
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool boxed = false;
    // The width follows the text; the horizontal alignment says which edge
    // (or the centre) of the design rectangle stays in place.
    bool fitsText = false;
    QString text; // the label, or the leading text of system information
    QStringList columns; // DataText: one column; Result: the factors of a product
    QString mask; // Result: the number pattern
    bool emptyAsZero = false; // DataText: an empty number is written as zero

    // Builders, so that a layout reads as its table.
    ReportElement &px(int pixelSize);
    ReportElement &bold();
    // A thin border on all four sides; the text is centred vertically.
    ReportElement &box();
    ReportElement &align(Qt::Alignment horizontal);
    ReportElement &middle();
    ReportElement &fitText();
    ReportElement &zeroWhenEmpty();
};

ReportElement label(const QString &text, QRect rect);
ReportElement dataText(const QString &column, QRect rect);
// The sum over the rows of one column, or of the product of several, the
// names matched without regard to case.
ReportElement result(const QStringList &factors, const QString &mask, QRect rect);
ReportElement pageNumber(const QString &leading, QRect rect);
ReportElement preparedAt(const QString &leading, QRect rect);

struct ReportBand {
    int height = 0; // 0: the band is not printed
    std::vector<ReportElement> elements;

    ReportBand() = default;
    explicit ReportBand(int bandHeight);
    ReportBand &add(ReportElement element);
    bool isPrinted() const { return height > 0; }
};

// Rows whose key column shows the same text in a row make one group.
struct ReportGroup {
    QString keyColumn;
    ReportBand header; // at the group's start and atop each further page of it
    ReportBand summary; // at the group's end
    bool newPageAfter = false; // the next group starts on a new page
};

struct ReportLayout {
    QString title; // the document's and the print job's name
    // The name a save proposes, without suffix ("Pedido 2026000202"); the
    // title when empty.
    QString fileName;
    QSize pageSize { 794, 1123 }; // A4 portrait
    QMargins margins;
    ReportBand pageHeader;
    ReportBand detail; // one per row
    ReportBand summary; // once, after the last row
    ReportBand pageFooter;
    std::optional<ReportGroup> group;

    int bandWidth() const { return pageSize.width() - margins.left() - margins.right(); }
};
