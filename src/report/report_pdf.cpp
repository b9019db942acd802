#include "report/report_pdf.h"

#include "report/report_error.h"
#include "report/report_painter.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

ReportError cannotWrite(const QString &path, const QString &why)
{
    return ReportError(
        u"Não foi possível gravar o arquivo \"%1\": %2"_s.arg(QDir::toNativeSeparators(path), why));
}

} // namespace

void writeReportPdf(const PreparedReport &report, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotWrite(path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.title);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setResolution(1200);
        writer.setPageSize(reportPageSize(report));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer))
            throw cannotWrite(path, u"o documento não pôde ser iniciado"_s);
        paintPages(painter, writer, report, 1, int(report.pages.size()));
        painter.end();
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        throw cannotWrite(path, file.errorString());
}
