#include "report/report_preparation.h"

#include "common/clock.h"
#include "common/regional.h"
#include "report/report_error.h"
#include "report/report_fonts.h"

#include <QFontMetricsF>
#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Room between a box's border and its text.
constexpr qreal BoxPadding = 2.0;
constexpr int SmallestNumberPixels = 6; // a number never shrinks below this

// The elements of a band grouped into printed lines: an element starts a new
// line unless its top lies within the upper half of the line's first element.
std::vector<std::vector<int>> bandLines(const ReportBand &band)
{
    std::vector<int> order(band.elements.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    const auto rectOf = [&](int i) { return band.elements[size_t(i)].rect; };
    std::stable_sort(
        order.begin(), order.end(), [&](int a, int b) { return rectOf(a).top() < rectOf(b).top(); });
    std::vector<std::vector<int>> lines;
    for (int i : order) {
        if (lines.empty()) {
            lines.push_back({ i });
            continue;
        }
        const QRect first = rectOf(lines.back().front());
        if (rectOf(i).top() < first.top() + first.height() / 2)
            lines.back().push_back(i);
        else
            lines.push_back({ i });
    }
    for (auto &line : lines)
        std::stable_sort(
            line.begin(), line.end(), [&](int a, int b) { return rectOf(a).left() < rectOf(b).left(); });
    return lines;
}

} // namespace

class ReportPreparation::Preparer {
public:
    Preparer(ReportLayout layout, ReportRows rows);
    explicit Preparer(PreparedReport prepared)
        : m_rows(0)
        , m_report(std::move(prepared))
        , m_complete(true)
    {
    }
    Q_DISABLE_COPY_MOVE(Preparer)

    const PreparedReport &report() const { return m_report; }
    bool isComplete() const { return m_complete; }
    int finishedPages() const { return int(m_report.pages.size()) - (m_complete ? 0 : 1); }
    void step();
    PreparedReport takeReport() { return std::move(m_report); }

private:
    struct Sum {
        QList<int> columns;
        double value = 0;
        bool printed = false;
    };
    struct Band {
        const ReportBand *band = nullptr;
        std::vector<std::vector<int>> lines;
    };

    void addBand(const ReportBand &band);
    int column(const QString &name) const;
    const QString &key(int row);
    void finish();
    void accumulate(int row);
    void startPage(int row);
    void endPage(int row);
    void place(const ReportBand &band, int row);
    void print(const ReportBand &band, int row);
    PreparedText prepare(const ReportElement &e, QPointF bandOrigin, int row);
    void setText(PreparedText &out, const ReportElement &e, const QString &text, QPointF bandOrigin);
    struct Measure {
        QFontMetricsF metrics;
        // Widths of whole texts: brands, units and amounts repeat line
        // after line, and shaping a text is most of the work.
        QHash<QString, qreal> widths;
        qreal width(const QString &text);
    };
    Measure &measure(const ReportFont &font);

    const ReportLayout m_layout;
    const ReportRows m_data;
    const int m_rows;
    PreparedReport m_report;
    QHash<const ReportElement *, Sum> m_sums;
    QHash<const ReportElement *, int> m_dataColumns;
    QHash<const ReportBand *, Band> m_bands;
    std::vector<std::pair<ReportFont, std::unique_ptr<Measure>>> m_measures;
    QString m_preparedAtText;
    // The group key of the last row laid out, kept so that the comparison
    // with the next row formats each key once.
    QString m_lastKey;
    int m_groupKey = -1;
    int m_next = 0; // the next row to lay out
    bool m_complete = false;
    bool m_inGroup = false;
    bool m_bodyOnPage = false; // a band other than the headers is on the page
    qreal m_y = 0;
    qreal m_footerTop = 0;
};

ReportPreparation::Preparer::Preparer(ReportLayout layout, ReportRows rows)
    : m_layout(std::move(layout))
    , m_data(std::move(rows))
    , m_rows(int(m_data.rows.size()))
{
    for (const ReportBand *band :
        { &m_layout.pageHeader, &m_layout.detail, &m_layout.summary, &m_layout.pageFooter })
        addBand(*band);
    if (m_layout.group) {
        addBand(m_layout.group->header);
        addBand(m_layout.group->summary);
        m_groupKey = column(m_layout.group->keyColumn);
    }
    m_footerTop = m_layout.pageSize.height() - m_layout.margins.bottom() - m_layout.pageFooter.height;

    m_report.title = m_layout.title;
    m_report.fileName = m_layout.fileName;
    m_report.pageSize = m_layout.pageSize;
    m_report.preparedAt = Clock::current().now();
    m_preparedAtText = dateTimeText(m_report.preparedAt);
    startPage(m_rows > 0 ? 0 : -1);
}

void ReportPreparation::Preparer::addBand(const ReportBand &band)
{
    m_bands.insert(&band, Band { &band, bandLines(band) });
    for (const ReportElement &e : band.elements) {
        if (e.kind == ElementKind::DataText)
            m_dataColumns.insert(&e, column(e.columns.value(0)));
        if (e.kind != ElementKind::Result)
            continue;
        Sum sum;
        for (const QString &factor : e.columns)
            sum.columns << column(factor);
        m_sums.insert(&e, sum);
    }
}

int ReportPreparation::Preparer::column(const QString &name) const
{
    const int c = m_data.columnIndex(name);
    if (c < 0)
        throw ReportError(u"O relatório usa a coluna '%1', que os dados não têm"_s.arg(name));
    return c;
}

const QString &ReportPreparation::Preparer::key(int row)
{
    m_lastKey = reportText(m_data.columns[m_groupKey], m_data.rows[size_t(row)][m_groupKey]);
    return m_lastKey;
}

void ReportPreparation::Preparer::step()
{
    if (m_complete)
        return;
    if (m_next >= m_rows) {
        finish();
        return;
    }
    const int row = m_next++;
    if (m_inGroup) {
        const QString previous = m_lastKey;
        if (key(row) != previous) {
            place(m_layout.group->summary, row - 1);
            m_inGroup = false;
            if (m_layout.group->newPageAfter) {
                endPage(row - 1);
                startPage(row);
            }
        }
    } else if (m_groupKey >= 0) {
        key(row);
    }
    accumulate(row);
    if (m_layout.group && !m_inGroup) {
        place(m_layout.group->header, row);
        m_inGroup = true;
    }
    place(m_layout.detail, row);
}

void ReportPreparation::Preparer::finish()
{
    const int last = m_rows - 1;
    if (m_inGroup)
        place(m_layout.group->summary, last);
    place(m_layout.summary, last);
    endPage(last);
    m_complete = true;
}

void ReportPreparation::Preparer::accumulate(int row)
{
    const ReportRow &values = m_data.rows[size_t(row)];
    for (Sum &sum : m_sums) {
        if (sum.printed) {
            sum.value = 0;
            sum.printed = false;
        }
        double product = 1;
        bool empty = sum.columns.isEmpty();
        for (int c : std::as_const(sum.columns)) {
            const QVariant &v = values[c];
            empty = empty || !v.isValid() || v.isNull();
            product *= v.toDouble();
        }
        if (!empty)
            sum.value += product;
    }
}

void ReportPreparation::Preparer::startPage(int row)
{
    PreparedPage page;
    page.number = int(m_report.pages.size()) + 1;
    m_report.pages.push_back(std::move(page));
    m_y = m_layout.margins.top();
    print(m_layout.pageHeader, row);
    if (m_inGroup)
        print(m_layout.group->header, row);
    m_bodyOnPage = false;
}

void ReportPreparation::Preparer::endPage(int row)
{
    m_y = m_footerTop;
    print(m_layout.pageFooter, row);
}

void ReportPreparation::Preparer::place(const ReportBand &band, int row)
{
    if (!band.isPrinted())
        return;
    // A band taller than an empty page goes on it all the same, cut by the
    // footer, rather than opening pages for ever.
    if (m_y + band.height > m_footerTop && m_bodyOnPage) {
        endPage(row);
        startPage(row);
    }
    print(band, row);
    m_bodyOnPage = true;
}

void ReportPreparation::Preparer::print(const ReportBand &band, int row)
{
    if (!band.isPrinted())
        return;
    const QPointF origin(m_layout.margins.left(), m_y);
    PreparedPage &page = m_report.pages.back();
    for (const std::vector<int> &line : m_bands.value(&band).lines) {
        PreparedLine out;
        out.items.reserve(line.size());
        for (int i : line)
            out.items.push_back(prepare(band.elements[size_t(i)], origin, row));
        page.lines.push_back(std::move(out));
    }
    for (const ReportElement &e : band.elements) {
        if (e.kind == ElementKind::Result)
            m_sums[&e].printed = true;
    }
    m_y += band.height;
}

PreparedText ReportPreparation::Preparer::prepare(const ReportElement &e, QPointF bandOrigin, int row)
{
    PreparedText out;
    out.font = e.font;
    out.boxed = e.boxed;
    QString text;
    switch (e.kind) {
    case ElementKind::Label:
        text = e.text;
        out.cell = text;
        break;
    case ElementKind::DataText: {
        if (row < 0)
            break;
        const int c = m_dataColumns.value(&e);
        const ReportColumn &column = m_data.columns[c];
        const bool numeric = column.type == ReportColumnType::Number;
        QVariant v = m_data.rows[size_t(row)][c];
        const bool empty = !v.isValid() || v.isNull();
        if (numeric && empty && e.emptyAsZero)
            v = 0.0;
        text = reportText(column, v);
        if (numeric && (!empty || e.emptyAsZero)) {
            out.cell = v.toDouble();
            out.numberFormat = column.displayFormat;
        } else if (!text.isEmpty())
            out.cell = text;
        break;
    }
    case ElementKind::Result: {
        const double sum = m_sums.value(&e).value;
        text = numberText(sum, e.mask);
        out.cell = sum;
        out.numberFormat = e.mask;
        break;
    }
    case ElementKind::PageNumber:
        text = e.text + QString::number(m_report.pages.back().number);
        out.cell = text;
        break;
    case ElementKind::PreparedAt:
        text = e.text + m_preparedAtText;
        out.cell = text;
        break;
    }
    setText(out, e, text, bandOrigin);
    return out;
}

// Places the text by the element's alignment; a text wider than its room
// starts at the left edge and is cut at the right one. Never wrapped. A
// number is never cut: one digit less is another amount, so a number wider
// than its room is printed smaller, down to the smallest size that reads.
void ReportPreparation::Preparer::setText(
    PreparedText &out, const ReportElement &e, const QString &text, QPointF bandOrigin)
{
    const Qt::Alignment h = e.alignment & Qt::AlignHorizontal_Mask;
    const qreal pad = e.boxed ? BoxPadding : 0;
    if (out.cell.typeId() == QMetaType::Double && !e.fitsText) {
        const qreal room = e.rect.width() - 2 * pad;
        while (out.font.pixelSize > SmallestNumberPixels && measure(out.font).width(text) > room)
            --out.font.pixelSize;
    }
    Measure &m = measure(out.font);
    const QFontMetricsF &fm = m.metrics;
    const qreal width = m.width(text);

    QRectF box(e.rect);
    if (e.fitsText) {
        const qreal w = width + 2 * pad;
        if (h & Qt::AlignRight)
            box.setLeft(box.right() - w);
        else if (h & Qt::AlignHCenter)
            box.setLeft(box.left() + (box.width() - w) / 2);
        box.setWidth(w);
        box.setLeft(std::max<qreal>(box.left(), 0)); // keeps the right edge
        box.setRight(std::min<qreal>(box.right(), m_layout.bandWidth()));
    }
    box.translate(bandOrigin);
    out.box = box;
    out.clip = box.adjusted(pad, 0, -pad, 0);

    qreal x = out.clip.left();
    if (width <= out.clip.width() + 0.01) {
        if (h & Qt::AlignRight)
            x = out.clip.right() - width;
        else if (h & Qt::AlignHCenter)
            x = out.clip.left() + (out.clip.width() - width) / 2;
    }
    const qreal textHeight = fm.ascent() + fm.descent();
    qreal top = box.top();
    if (e.alignment & Qt::AlignVCenter)
        top += (box.height() - textHeight) / 2;
    else if (e.alignment & Qt::AlignBottom)
        top = box.bottom() - textHeight;
    out.origin = QPointF(x, top + fm.ascent());

    out.text = text;
    out.cut = width > out.clip.width() + 0.01;
    if (out.cut) {
        // Keep the glyphs that start inside the room: the last one shows cut.
        const qreal room = out.clip.right() - x;
        qsizetype lo = 0, hi = text.size();
        while (lo < hi) { // the longest prefix narrower than the room
            const qsizetype mid = (lo + hi + 1) / 2;
            if (fm.horizontalAdvance(text.left(mid)) < room)
                lo = mid;
            else
                hi = mid - 1;
        }
        qsizetype keep = std::min(lo + 1, text.size());
        if (keep < text.size() && text[keep - 1].isHighSurrogate())
            ++keep;
        out.text = text.left(keep);
    }
}

qreal ReportPreparation::Preparer::Measure::width(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const auto known = widths.constFind(text);
    if (known != widths.cend())
        return *known;
    return *widths.insert(text, metrics.horizontalAdvance(text));
}

ReportPreparation::Preparer::Measure &ReportPreparation::Preparer::measure(const ReportFont &font)
{
    for (const auto &[f, m] : m_measures) {
        if (f == font)
            return *m;
    }
    m_measures.emplace_back(font, std::make_unique<Measure>(Measure { QFontMetricsF(reportFont(font)), {} }));
    return *m_measures.back().second;
}

ReportPreparation::ReportPreparation(ReportLayout layout, ReportRows rows)
    : m_preparer(std::make_unique<Preparer>(std::move(layout), std::move(rows)))
{
}

ReportPreparation::ReportPreparation(PreparedReport prepared)
    : m_preparer(std::make_unique<Preparer>(std::move(prepared)))
{
}

ReportPreparation::~ReportPreparation() = default;
ReportPreparation::ReportPreparation(ReportPreparation &&) noexcept = default;
ReportPreparation &ReportPreparation::operator=(ReportPreparation &&) noexcept = default;

const PreparedReport &ReportPreparation::report() const
{
    return m_preparer->report();
}

bool ReportPreparation::isComplete() const
{
    return m_preparer->isComplete();
}

int ReportPreparation::finishedPages() const
{
    return m_preparer->finishedPages();
}

void ReportPreparation::prepareUntil(int pages)
{
    while (!m_preparer->isComplete() && m_preparer->finishedPages() < pages)
        m_preparer->step();
}

void ReportPreparation::prepareRows(int rows)
{
    for (int i = 0; i < rows && !m_preparer->isComplete(); ++i)
        m_preparer->step();
}

const PreparedReport &ReportPreparation::complete()
{
    while (!m_preparer->isComplete())
        m_preparer->step();
    return m_preparer->report();
}

PreparedReport ReportPreparation::take()
{
    complete();
    return m_preparer->takeReport();
}

PreparedReport prepareReport(ReportLayout layout, ReportRows rows)
{
    return ReportPreparation(std::move(layout), std::move(rows)).take();
}
