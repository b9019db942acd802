#include "report/widgets/report_preview.h"

#include "report/report_error.h"
#include "report/report_painter.h"
#include "report/report_pdf.h"
#include "report/report_xlsx.h"
#include "report/widgets/report_printer.h"
#include "spreadsheet/spreadsheet_error.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr int PageGap = 12; // grey around the page
// The longest the rest of the report keeps input waiting at a time, and the
// rows laid out between two looks at the time.
constexpr int SliceMs = 20;
constexpr int SliceRows = 25;

// The name a save proposes: the report's own, with what no file name may
// hold on the suppliers' desktops (the numbers come from the buyer's server)
// turned into "-".
QString proposedFileName(const PreparedReport &report)
{
    QString name = report.fileName.isEmpty() ? report.title : report.fileName;
    for (QChar &c : name)
        if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'-';
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name.trimmed().isEmpty() ? u"Relatório"_s : name.trimmed();
}

} // namespace

// One page painted at the zoom, on a grey ground.
class ReportPageView final : public QWidget {
public:
    ReportPageView(const PreparedReport &report, QWidget *parent)
        : QWidget(parent)
        , m_report(report)
    {
    }

    void setPage(int index)
    {
        m_index = index;
        update();
    }
    void setScale(qreal scale)
    {
        m_scale = scale;
        const QSizeF size = QSizeF(m_report.pageSize) * scale;
        setFixedSize(int(std::ceil(size.width())) + 2 * PageGap, int(std::ceil(size.height())) + 2 * PageGap);
        update();
    }
    qreal scale() const { return m_scale; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const QRectF page(
            PageGap, PageGap, m_report.pageSize.width() * m_scale, m_report.pageSize.height() * m_scale);
        painter.fillRect(page, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(page.adjusted(-0.5, -0.5, 0.5, 0.5));
        if (m_index < 0 || m_index >= int(m_report.pages.size()))
            return;
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(page.topLeft());
        painter.scale(m_scale, m_scale);
        paintPage(painter, m_report.pages[size_t(m_index)]);
    }

private:
    const PreparedReport &m_report;
    int m_index = 0;
    qreal m_scale = 1;
};

ReportPreview::ReportPreview(ReportPreparation &report, PreviewServices services, QWidget *parent)
    : QDialog(parent)
    , m_preparation(report)
    , m_report(report.report())
    , m_services(std::move(services))
    , m_btnFirst(button(u"Primeira"_s, u"Primeira página (Ctrl+Home)"_s))
    , m_btnPrior(button(u"Anterior"_s, u"Página anterior (Page Up)"_s))
    , m_btnNext(button(u"Próxima"_s, u"Próxima página (Page Down)"_s))
    , m_btnLast(button(u"Última"_s, u"Última página (Ctrl+End)"_s))
    , m_edtPage(new QSpinBox(this))
    , m_btnWholePage(button(u"Página inteira"_s, u"Mostra a página inteira"_s))
    , m_btnPageWidth(button(u"Largura da página"_s, u"Ajusta a página à largura da janela"_s))
    , m_btnActual(button(u"100 %"_s, u"Mostra a página no tamanho real"_s))
    , m_btnPrint(button(u"Imprimir"_s, u"Imprime o relatório"_s))
    , m_btnSave(button(u"Salvar"_s, u"Salva como Documento PDF ou Planilha Excel"_s))
    , m_btnClose(button(u"Fechar"_s, u"Fecha a visualização"_s))
    , m_scroll(new QScrollArea(this))
    , m_view(new ReportPageView(m_report, m_scroll))
    , m_pageCount(new QLabel(this))
    , m_zoomButtons(new QButtonGroup(this))
    , m_rest(new QTimer(this))
{
    m_preparation.prepareUntil(1);
    setWindowTitle(m_report.title);
    setModal(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    m_edtPage->setKeyboardTracking(false); // a typed number counts on Enter
    m_edtPage->setAccessibleName(u"Página"_s);
    for (QPushButton *b : { m_btnWholePage, m_btnPageWidth, m_btnActual }) {
        b->setCheckable(true);
        m_zoomButtons->addButton(b);
    }

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *> {
             m_btnFirst, m_btnPrior, m_edtPage, m_pageCount, m_btnNext, m_btnLast })
        bar->addWidget(w);
    bar->addSpacing(16);
    for (QWidget *w : { m_btnWholePage, m_btnPageWidth, m_btnActual })
        bar->addWidget(w);
    bar->addSpacing(16);
    bar->addWidget(m_btnPrint);
    bar->addWidget(m_btnSave);
    bar->addStretch();
    bar->addWidget(m_btnClose);

    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_btnFirst, &QPushButton::clicked, this, [this] { showPage(1); });
    connect(m_btnPrior, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_btnNext, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_btnLast, &QPushButton::clicked, this, [this] {
        completeReport();
        showPage(pageCount());
    });
    connect(m_edtPage, &QSpinBox::valueChanged, this, [this](int n) { showPage(n); });
    connect(m_btnWholePage, &QPushButton::clicked, this, [this] { setZoom(Zoom::WholePage); });
    connect(m_btnPageWidth, &QPushButton::clicked, this, [this] { setZoom(Zoom::PageWidth); });
    connect(m_btnActual, &QPushButton::clicked, this, [this] { setZoom(Zoom::Actual); });
    connect(m_btnPrint, &QPushButton::clicked, this, &ReportPreview::print);
    connect(m_btnSave, &QPushButton::clicked, this, &ReportPreview::save);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::accept);

    const auto shortcut = [this](QKeySequence key, QPushButton *target) {
        connect(new QShortcut(key, this), &QShortcut::activated, target, &QPushButton::click);
    };
    shortcut(QKeySequence::MoveToPreviousPage, m_btnPrior);
    shortcut(QKeySequence::MoveToNextPage, m_btnNext);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Home), m_btnFirst);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_End), m_btnLast);

    // About the height of the screen, the page's proportions, at most.
    const QRect screen = (parent ? parent->screen() : QApplication::primaryScreen())->availableGeometry();
    const int height = std::max(480, screen.height() * 9 / 10);
    resize(std::clamp(height * 4 / 5, 760, screen.width()), height);

    setZoom(Zoom::PageWidth);
    showPage(1);

    connect(m_rest, &QTimer::timeout, this, &ReportPreview::prepareMore);
    if (!m_preparation.isComplete())
        m_rest->start(0);
}

ReportPreview::~ReportPreview() = default;

QPushButton *ReportPreview::button(const QString &caption, const QString &tip)
{
    auto *b = new QPushButton(caption, this);
    b->setToolTip(tip);
    b->setAutoDefault(false); // no button of ours takes Enter
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QWidget *ReportPreview::pageView() const
{
    return m_view;
}

void ReportPreview::showPage(int number)
{
    if (number > pageCount())
        m_preparation.prepareUntil(number); // a page or a few: quick
    m_page = std::clamp(number, 1, std::max(1, pageCount()));
    m_view->setPage(m_page - 1);
    m_scroll->verticalScrollBar()->setValue(0);
    updateControls();
}

void ReportPreview::setZoom(Zoom zoom)
{
    m_zoom = zoom;
    fitZoom();
    updateControls();
}

qreal ReportPreview::scale() const
{
    return m_view->scale();
}

void ReportPreview::fitZoom()
{
    const QSize room = m_scroll->maximumViewportSize() - QSize(2 * PageGap, 2 * PageGap);
    const QSizeF page(m_report.pageSize);
    qreal scale = 1;
    if (m_zoom == Zoom::WholePage) {
        scale = std::min(room.width() / page.width(), room.height() / page.height());
    } else if (m_zoom == Zoom::PageWidth) {
        // The page runs taller than the window: leave room for the scroll bar.
        const int bar = m_scroll->verticalScrollBar()->sizeHint().width();
        scale = (room.width() - bar) / page.width();
    }
    m_view->setScale(std::max(scale, 0.1));
}

void ReportPreview::prepareMore()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_preparation.isComplete() && slice.elapsed() < SliceMs)
        m_preparation.prepareRows(SliceRows);
    if (m_preparation.isComplete())
        m_rest->stop();
    updateControls();
}

void ReportPreview::completeReport()
{
    if (m_preparation.isComplete())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_preparation.complete();
    QApplication::restoreOverrideCursor();
    m_rest->stop();
    updateControls();
}

void ReportPreview::updateControls()
{
    const QSignalBlocker quiet(m_edtPage);
    m_edtPage->setRange(1, isComplete() ? std::max(1, pageCount()) : std::numeric_limits<int>::max());
    // While the rest is being laid out the count says there is more.
    m_pageCount->setText(u"de %1"_s.arg(pageCount()) + (isComplete() ? QString() : u"…"_s));
    m_edtPage->setValue(m_page);
    m_btnFirst->setEnabled(m_page > 1);
    m_btnPrior->setEnabled(m_page > 1);
    m_btnNext->setEnabled(m_page < pageCount() || !isComplete());
    m_btnLast->setEnabled(m_page < pageCount() || !isComplete());
    m_btnWholePage->setChecked(m_zoom == Zoom::WholePage);
    m_btnPageWidth->setChecked(m_zoom == Zoom::PageWidth);
    m_btnActual->setChecked(m_zoom == Zoom::Actual);
}

bool ReportPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoom != Zoom::Actual)
        fitZoom();
    return QDialog::eventFilter(watched, event);
}

void ReportPreview::print()
{
    completeReport();
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, m_report);
    bool chosen = false;
    if (m_services.choosePrinter) {
        chosen = m_services.choosePrinter(printer, this);
    } else {
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, std::max(1, pageCount()));
        dialog.setOption(QAbstractPrintDialog::PrintPageRange);
        chosen = dialog.exec() == QDialog::Accepted;
    }
    if (chosen && !printReport(m_report, printer) && m_services.showError)
        m_services.showError(u"Não foi possível imprimir em \"%1\"."_s.arg(printer.printerName()));
}

void ReportPreview::save()
{
    if (!m_services.saveFileName)
        return;
    completeReport();
    const QString proposed = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                 .filePath(proposedFileName(m_report) + u".pdf"_s);
    QString path = m_services.saveFileName(
        u"Salvar relatório"_s, proposed, u"Documento PDF (*.pdf);;Planilha Excel (*.xlsx)"_s);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    QString failure;
    try {
        if (suffix == u"xlsx") {
            writeReportXlsx(m_report, path);
        } else {
            if (suffix != u"pdf")
                path += u".pdf"_s;
            writeReportPdf(m_report, path);
        }
    } catch (const ReportError &e) {
        failure = e.message();
    } catch (const SpreadsheetError &e) {
        failure = e.message();
    }
    if (!failure.isEmpty() && m_services.showError)
        m_services.showError(failure);
}
