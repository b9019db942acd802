#pragma once

#include "report/prepared_report.h"
#include "report/report_layout.h"
#include "report/report_rows.h"

#include <memory>

// Lays a report out from its rows, walking them once in their order, a page
// at a time: the first pages can be shown while the rest are still to come.
// The date and time of preparation are read once, at construction, from the
// program's clock. Throws ReportError at construction for a column the rows
// do not have.
//
// Page flow: each page opens with the page header; bands follow while they
// fit above the page footer, which closes every page. A group opens with its
// header, repeats it atop each further page, and closes with its summary.
// Results reset before a row is added when they were printed since.
class ReportPreparation final {
public:
    ReportPreparation(ReportLayout layout, ReportRows rows);
    // Pages laid out already: complete from the start.
    explicit ReportPreparation(PreparedReport prepared);
    ~ReportPreparation();
    ReportPreparation(ReportPreparation &&) noexcept;
    ReportPreparation &operator=(ReportPreparation &&) noexcept;

    // The pages laid out so far; the last one may still be growing until
    // isComplete().
    const PreparedReport &report() const;
    bool isComplete() const;
    // Pages that will not change any more.
    int finishedPages() const;

    // Lays rows out until at least `pages` pages are finished, or all are.
    void prepareUntil(int pages);
    // Lays out at most `rows` more rows (the end of the report counts as one).
    void prepareRows(int rows);
    // Lays out whatever is left.
    const PreparedReport &complete();
    // The whole report, completed first; the preparation is spent.
    PreparedReport take();

private:
    class Preparer;
    std::unique_ptr<Preparer> m_preparer;
};

PreparedReport prepareReport(ReportLayout layout, ReportRows rows);
