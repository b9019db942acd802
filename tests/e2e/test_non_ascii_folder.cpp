// A supplier whose folder, or whose user name (and so temporary folder),
// holds letters beyond ASCII, and beyond the ANSI code page of a Windows
// computer: every file of the program works there, also the ones whose names
// go to a C library (the store to SQLCipher, the workbook's pieces to
// libxlsxwriter).
#include "buyersim/buyer_state.h"
#include "config/credential_file.h"
#include "support/cli_run.h"
#include "support/fake_net.h"
#include "support/qstring_printer.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// The temporary folder of the process, where the workbook writer puts its
// pieces, for the life of the scope.
class TemporaryFolderScope final {
public:
    explicit TemporaryFolderScope(const QString &folder)
        : m_old(QDir::tempPath())
    {
        set(folder);
    }
    ~TemporaryFolderScope() { set(m_old); }
    TemporaryFolderScope(const TemporaryFolderScope &) = delete;
    TemporaryFolderScope &operator=(const TemporaryFolderScope &) = delete;

private:
    static void set(const QString &folder)
    {
#ifdef Q_OS_WIN
        // Windows reads TMP first; set wide, as the name may lie beyond the
        // ANSI code page.
        SetEnvironmentVariableW(
            L"TMP", reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(folder).utf16()));
#else
        qputenv("TMPDIR", QFile::encodeName(folder));
#endif
    }

    QString m_old;
};

} // namespace

TEST(NonAsciiFolder, StoreCredentialsWorkbookAndPdfInAFolderNamedCotacoes)
{
    ASSERT_TRUE(QFileInfo(SimProcess::program()).isExecutable()) << "build kelvo-buyer-sim first";
    TempFolder simDir;
    SimProcess sim(
        { u"--port"_s, u"0"_s, u"--state"_s, simDir.file(u"state.json"_s), u"--generate"_s, u"4"_s });
    ASSERT_FALSE(sim.url().isEmpty());
    const QString cota = sim.generatedQuotation();
    const QString produto
        = buyersim::BuyerState::load(simDir.file(u"state.json"_s)).quotation(cota)->itens.first().produto;
    FakeNet net;
    net.realServerCheck = true;

    // "Cotações" is in the ANSI code page of a Brazilian Windows; the Greek
    // and Polish letters are in none that holds it too.
    for (const QString &name : { u"Cotações"_s, u"Cotações Ωλ Łódź"_s }) {
        SCOPED_TRACE(name.toStdString());
        TempFolder root;
        const QString dir = root.file(name);
        ASSERT_TRUE(QDir().mkpath(dir + u"/Temporários"_s));
        const TemporaryFolderScope temporary(dir + u"/Temporários"_s);
        ASSERT_EQ(QDir::tempPath(), dir + u"/Temporários"_s);
        root.write(name + u"/server.new"_s, sim.url().toUtf8() + "\r\n");
        const auto cli = [&](QStringList args) {
            const CliRun run = runCliIn(root, QStringList { u"--dir"_s, dir } + args, &net);
            EXPECT_EQ(run.status, 0) << args.join(u' ').toStdString() << ": "
                                     << (run.out.join(u'\n') + run.err).toStdString();
            return run;
        };

        cli({ u"init-db"_s });
        cli({ u"set-user"_s, u"DEMO"_s, u"DEMO123"_s });
        const StoredCredentials stored = readCredentials(dir);
        EXPECT_EQ(stored.usuario + u'/' + stored.senha, u"DEMO/DEMO123"_s);
        cli({ u"quotations"_s, u"fetch"_s });
        cli({ u"--yes"_s, u"quotations"_s, u"download"_s, cota });

        // A price out to a workbook and back in from it.
        const QString workbook = dir + u"/Cotação "_s + cota + u".xlsx"_s;
        cli({ u"quotations"_s, u"price"_s, cota, produto, u"12,50"_s });
        cli({ u"quotations"_s, u"export"_s, cota, workbook });
        cli({ u"quotations"_s, u"price"_s, cota, produto, u"1"_s });
        cli({ u"quotations"_s, u"import"_s, cota, workbook });
        const QStringList items = cli({ u"quotations"_s, u"items"_s, cota }).out;
        ASSERT_EQ(items.size(), 4);
        const auto priced = std::find_if(items.begin(), items.end(),
            [&](const QString &line) { return line.section(u'|', 3, 3) == produto; });
        ASSERT_NE(priced, items.end());
        EXPECT_EQ(priced->section(u'|', 9, 9), u"12.5"_s);

        // (What the PDF says is read with poppler where there is one: by the
        // report tests, and by scripts/windows-test for the Windows build.)
        const QString pdf = dir + u"/Cotação.pdf"_s;
        EXPECT_EQ(cli({ u"quotations"_s, u"print"_s, cota, u"--pdf"_s, pdf }).out.last(), u"pages: 1"_s);
        QFile written(pdf);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_TRUE(written.read(5) == "%PDF-");
        cli({ u"backup"_s, dir + u"/Cópia de segurança.bak"_s });
        EXPECT_TRUE(QFileInfo::exists(dir + u"/Cópia de segurança.bak"_s));
        // The workbook writer left nothing behind in the temporary folder.
        EXPECT_EQ(
            QDir(dir + u"/Temporários"_s).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
}
