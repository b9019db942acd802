#include "config/server_file.h"

#include "common/text.h"
#include "config/text_lines.h"

#include <QDir>

namespace {

ServerFile failed(ServerFileStatus status, QString servidor, const QString &caption, const QString &text)
{
    ServerFile result;
    result.status = status;
    result.servidor = std::move(servidor);
    result.failure = ConfigMessage { caption, text };
    return result;
}

} // namespace

ServerFile readServerFile(const QString &folder)
{
    const TextFile file = loadTextLines(QDir(folder).filePath(QString::fromUtf16(kServerFileName)));
    if (file.status == TextFileStatus::Missing)
        return failed(ServerFileStatus::Missing, {}, QStringLiteral("Error"),
            QStringLiteral("Arquivo de configuração do servidor não foi encontrado... "
                           "Serviço interrompido...."));
    // A file that is there but cannot be read is as unusable as an empty one.
    if (file.status == TextFileStatus::Unreadable || file.lines.isEmpty())
        return failed(ServerFileStatus::Unusable, {}, QStringLiteral("Erro"),
            QStringLiteral("Arquivo de configuração do servidor, está com "
                           "problemas...Verifique..."));
    const QString first = file.lines.constFirst();
    if (trimControls(first).isEmpty())
        return failed(ServerFileStatus::Blank, first, QStringLiteral("Erro"),
            QStringLiteral("Informações sobre o servidor está em branco...."));
    ServerFile result;
    result.status = ServerFileStatus::Ok;
    result.servidor = first;
    return result;
}
