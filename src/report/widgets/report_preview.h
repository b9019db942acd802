#pragma once

#include "report/prepared_report.h"
#include "report/report_preparation.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;
class ReportPageView;

// What the preview asks of the program around it: a file name to save to
// (the program's save dialog), how a failure is shown (the general error
// box), and the printer to print on (empty: the system print dialog).
struct PreviewServices {
    std::function<QString(const QString &caption, const QString &dir, const QString &filter)> saveFileName;
    std::function<void(const QString &message)> showError;
    std::function<bool(QPrinter &printer, QWidget *parent)> choosePrinter;
};

// The modal preview of a report: one page at a time, paged through and
// zoomed, printed or saved as "Documento PDF" or "Planilha Excel". It shows
// the first page as soon as it is laid out and lays the rest out in short
// slices between the user's input; printing, saving and the last page wait
// for the whole report.
class ReportPreview final : public QDialog {
    Q_OBJECT

public:
    enum class Zoom { WholePage, PageWidth, Actual };

    // The preparation must outlive the preview.
    ReportPreview(ReportPreparation &report, PreviewServices services, QWidget *parent = nullptr);
    ~ReportPreview() override;
    Q_DISABLE_COPY_MOVE(ReportPreview)

    int pageCount() const { return m_preparation.finishedPages(); } // laid out so far
    bool isComplete() const { return m_preparation.isComplete(); }
    int currentPage() const { return m_page; } // from 1
    void showPage(int number); // kept within the pages

    Zoom zoom() const { return m_zoom; }
    void setZoom(Zoom zoom);
    qreal scale() const; // widget pixels per report pixel

    // "Imprimir": asks for the printer and prints on it.
    void print();
    // "Salvar": asks for the file; ".xlsx" writes a workbook, anything
    // else a PDF document (".pdf" added when the name lacks it).
    void save();

    QPushButton *btnFirst() const { return m_btnFirst; }
    QPushButton *btnPrior() const { return m_btnPrior; }
    QPushButton *btnNext() const { return m_btnNext; }
    QPushButton *btnLast() const { return m_btnLast; }
    QSpinBox *edtPage() const { return m_edtPage; }
    QPushButton *btnWholePage() const { return m_btnWholePage; }
    QPushButton *btnPageWidth() const { return m_btnPageWidth; }
    QPushButton *btnActual() const { return m_btnActual; }
    QPushButton *btnPrint() const { return m_btnPrint; }
    QPushButton *btnSave() const { return m_btnSave; }
    QPushButton *btnClose() const { return m_btnClose; }
    QLabel *pageCountLabel() const { return m_pageCount; } // "de 12"
    QWidget *pageView() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *button(const QString &caption, const QString &tip);
    void fitZoom();
    void updateControls();
    void prepareMore();
    void completeReport();

    ReportPreparation &m_preparation;
    const PreparedReport &m_report;
    PreviewServices m_services;
    QPushButton *m_btnFirst;
    QPushButton *m_btnPrior;
    QPushButton *m_btnNext;
    QPushButton *m_btnLast;
    QSpinBox *m_edtPage;
    QPushButton *m_btnWholePage;
    QPushButton *m_btnPageWidth;
    QPushButton *m_btnActual;
    QPushButton *m_btnPrint;
    QPushButton *m_btnSave;
    QPushButton *m_btnClose;
    QScrollArea *m_scroll = nullptr;
    ReportPageView *m_view = nullptr;
    QLabel *m_pageCount = nullptr;
    QButtonGroup *m_zoomButtons = nullptr;
    QTimer *m_rest = nullptr; // lays out the pages after the first
    Zoom m_zoom = Zoom::PageWidth;
    int m_page = 1;
};
