#pragma once

#include <QString>

#include <optional>

class CliContext;

// Where a print command saves the prepared pages instead of previewing them.
struct ReportFiles {
    QString pdf;
    QString xlsx;
};

// Reads "[--pdf FILE] [--xlsx FILE]" from the command's arguments after the
// first fixedArgs; nothing, with the usage printed, for anything else.
std::optional<ReportFiles> reportFiles(CliContext &c, int fixedArgs);

// From now on a report previewed by a workflow prints "pages: N" and is
// written to the files; a file that cannot be written fails the preview.
void saveReportsInstead(CliContext &c, const ReportFiles &files);
