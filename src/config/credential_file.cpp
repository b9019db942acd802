#include "config/credential_file.h"

#include "config/config_error.h"
#include "config/crypt.h"
#include "config/text_lines.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString credentialPath(const QString &folder)
{
    return QDir(folder).filePath(QString::fromUtf16(kCredentialFileName));
}

const QString &lineAt(const QStringList &lines, qsizetype index)
{
    if (index >= lines.size())
        throw ConfigError(QStringLiteral("Falta a linha %1 do arquivo de usuário").arg(index + 1));
    return lines.at(index);
}

} // namespace

StoredCredentials readCredentials(const QString &folder)
{
    StoredCredentials result;
    const TextFile file = loadTextLines(credentialPath(folder));
    if (file.status == TextFileStatus::Missing)
        return result;
    if (file.status == TextFileStatus::Unreadable) {
        result.error = file.error;
        return result;
    }
    try {
        result.usuario = Crypt(QStringLiteral("D"), lineAt(file.lines, 0));
        result.senha = Crypt(QStringLiteral("D"), lineAt(file.lines, 1));
    } catch (const ConfigError &e) {
        result.error = e.message();
    }
    return result;
}

std::optional<QString> writeCredentials(const QString &folder, const QString &usuario, const QString &senha)
{
    const QString content = Crypt(QStringLiteral("C"), usuario) + QStringLiteral("\r\n")
        + Crypt(QStringLiteral("C"), senha) + QStringLiteral("\r\n");
    const QString path = credentialPath(folder);
    QSaveFile file(path);
    // The password is only obscured, not protected: keep others out of it.
    if (!file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(content.toLatin1()) < 0 || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
            .arg(QDir::toNativeSeparators(path), reason);
    }
    return std::nullopt;
}
