#include "app/qt_translations.h"
#include "support/temp_folder.h"
#include "ui/widgets/qt_prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString caption(const QMessageBox &box, QMessageBox::StandardButton which)
{
    return box.button(which)->text().remove(u'&');
}

// Removes the translator at the end of a test, so that no other test runs
// under it.
struct Installed {
    QTranslator *translator;
    ~Installed()
    {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
};

} // namespace

TEST(QtTranslations, LookBesideTheProgramFirstThenInQtsFolder)
{
    const QStringList folders = qtTranslationFolders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], QDir(QCoreApplication::applicationDirPath()).filePath(u"translations"_s));
    EXPECT_EQ(folders[1], QLibraryInfo::path(QLibraryInfo::TranslationsPath));

    const QString qts = QDir(folders[1]).filePath(u"qtbase_pt_BR.qm"_s);
    ASSERT_TRUE(QFile::exists(qts)) << "qt6-translations-l10n is not installed";
    TempFolder empty, beside;
    ASSERT_TRUE(QFile::copy(qts, beside.file(u"qtbase_pt_BR.qm"_s)));
    {
        const Installed fromQt { installQtTranslations({ empty.path(), folders[1] }) };
        ASSERT_TRUE(fromQt.translator);
        EXPECT_EQ(QFileInfo(fromQt.translator->filePath()).absolutePath(),
            QFileInfo(folders[1]).absoluteFilePath());
    }
    {
        const Installed fromBeside { installQtTranslations({ beside.path(), folders[1] }) };
        ASSERT_TRUE(fromBeside.translator);
        EXPECT_EQ(QFileInfo(fromBeside.translator->filePath()).absolutePath(),
            QFileInfo(beside.path()).absoluteFilePath());
    }
    EXPECT_EQ(installQtTranslations({ empty.path() }), nullptr);
}

// Whatever language the machine speaks, Qt's own buttons speak Portuguese
// once the catalogue is in: "Sim", "Não", "Cancelar".
TEST(QtTranslations, MessageBoxButtonsInPortuguese)
{
    const auto english = questionBox(nullptr, u"Atenção"_s, u"Confirma?"_s);
    EXPECT_EQ(caption(*english, QMessageBox::Yes), u"Yes"_s); // before: Qt's English

    const Installed pt { installQtTranslations() };
    ASSERT_TRUE(pt.translator);
    const auto question = questionBox(nullptr, u"Atenção"_s, u"Confirma?"_s);
    EXPECT_EQ(caption(*question, QMessageBox::Yes), u"Sim"_s);
    EXPECT_EQ(caption(*question, QMessageBox::No), u"Não"_s);
    QMessageBox three(QMessageBox::Warning, u"Atenção"_s, u"Salvar?"_s,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(caption(three, QMessageBox::Cancel), u"Cancelar"_s);
}
