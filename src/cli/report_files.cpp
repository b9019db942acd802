#include "cli/report_files.h"

#include "cli/cli.h"
#include "report/report_pdf.h"
#include "report/report_xlsx.h"

using namespace Qt::StringLiterals;

std::optional<ReportFiles> reportFiles(CliContext &c, int fixedArgs)
{
    ReportFiles files;
    const QStringList &args = c.options().args;
    for (qsizetype i = fixedArgs; i < args.size(); i += 2) {
        QString *target = args[i] == u"--pdf" ? &files.pdf : args[i] == u"--xlsx" ? &files.xlsx : nullptr;
        if (!target || i + 1 >= args.size() || args[i + 1].isEmpty()) {
            c.usage(u"%1 aceita [--pdf ARQUIVO] [--xlsx ARQUIVO]"_s.arg(c.options().command));
            return std::nullopt;
        }
        *target = args[i + 1];
    }
    return files;
}

void saveReportsInstead(CliContext &c, const ReportFiles &files)
{
    c.prompts().reportOutput = [&c, files](const PreparedReport &report) {
        c.out() << "pages: " << report.pages.size() << Qt::endl;
        if (!files.pdf.isEmpty())
            writeReportPdf(report, files.pdf);
        if (!files.xlsx.isEmpty())
            writeReportXlsx(report, files.xlsx);
    };
}
