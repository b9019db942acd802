#include "support/report_reading.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

QStringList pageLines(const PreparedPage &page)
{
    QStringList out;
    for (const PreparedLine &line : page.lines) {
        QStringList texts;
        for (const PreparedText &item : line.items)
            texts << item.text;
        out << texts.join(QLatin1String(" | "));
    }
    return out;
}

const PreparedText *findText(const PreparedPage &page, const QString &text)
{
    for (const PreparedLine &line : page.lines) {
        for (const PreparedText &item : line.items) {
            if (item.text == text)
                return &item;
        }
    }
    return nullptr;
}

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString pdfText(const QString &path)
{
    return run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), path, QStringLiteral("-") });
}

QString pdfInfo(const QString &path, const QString &field)
{
    const QString prefix = field + QLatin1Char(':');
    for (const QString &line : run(QStringLiteral("pdfinfo"), { path }).split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed();
    }
    return {};
}

int pdfPageCount(const QString &path)
{
    if (!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
        bool ok = false;
        const int pages = pdfInfo(path, QStringLiteral("Pages")).toInt(&ok);
        return ok ? pages : -1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    // Qt writes each page's dictionary uncompressed: "/Type /Page", where
    // the page tree's own is "/Type /Pages".
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    const QString text = QString::fromLatin1(file.readAll());
    int count = 0;
    for (auto it = page.globalMatch(text); it.hasNext(); it.next())
        ++count;
    return count;
}
