#include "support/fixtures.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct ScriptRun {
    int exitCode = -1;
    QString output;
};

// Runs scripts/check-layers on a source tree made of the given files.
ScriptRun checkLayers(const QList<std::pair<QString, QByteArray>> &files)
{
    TempFolder src;
    for (const auto &[name, text] : files) {
        QDir().mkpath(QFileInfo(src.file(name)).path());
        src.write(name, text);
    }
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(u"bash"_s, { sourcePath(u"scripts/check-layers"_s), src.path() });
    script.waitForFinished(60000);
    return { script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1,
        QString::fromUtf8(script.readAll()) };
}

} // namespace

TEST(CheckLayers, AcceptsATreeThatKeepsTheLadder)
{
    const ScriptRun run = checkLayers({
        { u"common/text.h"_s, "#pragma once\n" },
        { u"store/table.cpp"_s,
            "#include \"store/table.h\"\n#include \"common/text.h\"\n#include <QString>\n" },
        { u"quotations/flow.cpp"_s, "#include \"exchange/frame.h\"\n#include \"store/table.h\"\n" },
        { u"quotations/widgets/window.cpp"_s,
            "#include \"quotations/flow.h\"\n#include \"ui/widgets/grid.h\"\n" },
        { u"app/widgets/launcher.cpp"_s,
            "#include \"quotations/widgets/window.h\"\n#include \"app/context.h\"\n" },
        { u"cli/commands.cpp"_s, "#include \"app/context.h\"\n#include \"local.h\"\n" },
        { u"buyersim/service.cpp"_s, "#include \"buyersim/state.h\"\n#include \"common/clock.h\"\n" },
    });
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
}

TEST(CheckLayers, ListsEveryIncludeThatBreaksTheLadder)
{
    struct Case {
        QString file;
        QByteArray text;
        QString listed; // the offending line as the script lists it
    } cases[] = {
        { u"exchange/frame.h"_s, "#pragma once\n\n#include \"app/connectivity.h\"\n",
            u"exchange/frame.h:3: #include \"app/connectivity.h\" -- app/ is a floor above exchange/"_s },
        { u"orders/download.cpp"_s, "#include \"quotations/records.h\"\n",
            u"orders/download.cpp:1: #include \"quotations/records.h\" -- orders/ and quotations/ share a floor"_s },
        { u"quotations/flow.cpp"_s, "  #  include \"ui/widgets/grid.h\"\n",
            u"quotations/flow.cpp:1: #  include \"ui/widgets/grid.h\" -- core code includes no widgets/ header"_s },
        { u"exchange/frame.cpp"_s, "#include \"store/table.h\"\n",
            u"exchange/frame.cpp:1: #include \"store/table.h\" -- the exchange knows no table"_s },
        { u"app/context.cpp"_s, "#include \"buyersim/state.h\"\n",
            u"app/context.cpp:1: #include \"buyersim/state.h\" -- the buyer simulator is no part of the program"_s },
        { u"buyersim/service.cpp"_s, "#include \"quotations/records.h\"\n",
            u"buyersim/service.cpp:1: #include \"quotations/records.h\" -- the buyer simulator uses only"_s },
        { u"reports/page.cpp"_s, "#include \"common/text.h\"\n", u"reports/ is on no floor of the ladder"_s },
        { u"store/table.cpp"_s, "#include \"sqlite/sqlite3.h\"\n",
            u"sqlite/ is on no floor of the ladder"_s },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const ScriptRun run = checkLayers({ { u"common/text.h"_s, "#pragma once\n" }, { c.file, c.text } });
        EXPECT_EQ(run.exitCode, 1) << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(c.listed)) << run.output.toStdString();
    }
}
