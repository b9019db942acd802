#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

QStringList qtTranslationFolders()
{
    return { QDir(QCoreApplication::applicationDirPath()).filePath(u"translations"_s),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) };
}

QTranslator *installQtTranslations(const QStringList &folders)
{
    auto *app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(app);
        if (translator->load(u"qtbase_pt_BR"_s, folder) && QCoreApplication::installTranslator(translator))
            return translator;
        delete translator;
    }
    return nullptr;
}
