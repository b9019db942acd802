// The quotation road at ten thousand items against kelvo-buyer-sim on
// loopback: the submission of a priced quotation (verification, form, POST,
// status). Each run gets a fresh copy of the simulator's state, since a
// quotation can be answered only once.
#include "buyersim/buyer_state.h"
#include "exchange/http_client.h"
#include "exchange/quotation_submission.h"
#include "store/data_module.h"
#include "store/schema.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int ItemCount = 10000;
const QString SimProgram = QStringLiteral(KELVO_BIN_DIR "/kelvo-buyer-sim");
const QString User = u"DEMO"_s;
const QString Password = u"DEMO123"_s;

class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};

// Confirms every question; a log window is only filled, never shown.
class BenchPrompts final : public Prompts {
public:
    void message(const QString &caption, const QString &text, PromptIcon) override { problem = caption + u": "_s + text; }
    bool ask(const QString &, const QString &) override { return true; }
    void error(const QString &text) override { problem = text; }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::unique_ptr<LogWindow> createLog() override { return std::make_unique<Lines>(); }

    QString problem;

private:
    class Lines final : public LogWindow {
    public:
        void addLine(const QString &line) override { m_lines << line; }
        QStringList lines() const override { return m_lines; }
        void showModal() override {}

    private:
        QStringList m_lines;
    };
};

// kelvo-buyer-sim on a free loopback port over a given state file.
class Sim final {
public:
    explicit Sim(const QString &statePath)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(SimProgram, {u"--port"_s, u"0"_s, u"--state"_s, statePath});
        static const QRegularExpression listening(u"^listening on (http://\\S+)$"_s);
        while (m_url.isEmpty() && (m_process.canReadLine() || m_process.waitForReadyRead(30000))) {
            const QRegularExpressionMatch m = listening.match(QString::fromUtf8(m_process.readLine()).trimmed());
            if (m.hasMatch())
                m_url = m.captured(1);
        }
    }
    ~Sim()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    Q_DISABLE_COPY_MOVE(Sim)
    const QString &url() const { return m_url; }

private:
    QProcess m_process;
    QString m_url;
};

// A state file with one generated quotation of ItemCount items, made once.
struct Generated {
    QTemporaryDir dir;
    QString statePath;
    QString cotacao;
    std::optional<buyersim::BuyerState> state;

    Generated()
    {
        statePath = dir.filePath(u"generated.json"_s);
        QProcess gen;
        gen.start(SimProgram, {u"--state"_s, statePath, u"--generate"_s, QString::number(ItemCount)});
        gen.waitForFinished(120000);
        static const QRegularExpression number(u"generated quotation (\\S+)"_s);
        const QRegularExpressionMatch m = number.match(QString::fromUtf8(gen.readAllStandardOutput()));
        if (!m.hasMatch())
            return;
        cotacao = m.captured(1);
        state = buyersim::BuyerState::load(statePath);
    }

    // A fresh copy, on which the quotation has not been answered yet.
    QString freshCopy(int run) const
    {
        const QString path = dir.filePath(u"run%1.json"_s.arg(run));
        QFile::remove(path);
        QFile::copy(statePath, path);
        return path;
    }
};

const Generated &generated()
{
    static const Generated g;
    return g;
}

// A store holding the generated quotation as downloaded and priced: two
// items in three with a price, the quotation in "Enviar".
void fillPricedStore(TDm &dm, const buyersim::Quotation &cotacao)
{
    Transaction tx(dm.Banco());
    Table &list = dm.CotaLiberada();
    list.open();
    if (!list.append())
        return;
    list.setText(u"Cotacao"_s, cotacao.numero);
    list.setText(u"TipoStatus"_s, u"Enviar"_s);
    list.setDate(u"DataValidade"_s, cotacao.validade);
    list.setDate(u"DataLiberada"_s, cotacao.liberada);
    list.post();

    Table &items = dm.CotaFornec();
    items.open();
    dm.setPodeIcota(true);
    for (qsizetype k = 0; k < cotacao.itens.size(); ++k) {
        const buyersim::QuotationItem &item = cotacao.itens[k];
        if (!items.append())
            return;
        items.setText(u"CONTATO"_s, cotacao.contato);
        items.setText(u"COTACAO"_s, cotacao.numero);
        items.setDate(u"DATA"_s, cotacao.liberada);
        items.setText(u"PRODUTO"_s, item.produto);
        items.setText(u"DESCRICAO"_s, item.descricao);
        items.setText(u"MARCA"_s, item.marca);
        items.setFloat(u"QTDE"_s, item.qtde());
        if (k % 3 != 2)
            items.setFloat(u"VALOR"_s, 10.25 + double(k % 97));
        items.setText(u"CONDPGTO"_s, item.condPgto);
        items.setText(u"OBS"_s, u"entrega imediata"_s);
        items.post();
    }
    dm.setPodeIcota(false);
    tx.commit();
    items.close();
    list.close();
}

void BM_SubmitTenThousandItems(benchmark::State &state)
{
    const Generated &g = generated();
    const buyersim::Quotation *cotacao = g.state ? g.state->quotation(g.cotacao) : nullptr;
    if (!cotacao) {
        state.SkipWithError("kelvo-buyer-sim --generate gave no quotation");
        return;
    }
    QTemporaryDir folder;
    const QString dbPath = folder.filePath(u"CotaKelvo.new"_s);
    createDatabase(dbPath);
    TDm dm;
    dm.openStore(dbPath);
    fillPricedStore(dm, *cotacao);

    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Sim sim(g.freshCopy(++run));
        BenchPrompts prompts;
        OnlineNet net;
        HttpClient http;
        QuotationSubmission submission(prompts, dm, net, http, sim.url());
        submission.setLogin({User, Password});
        dm.Fsql().close();
        dm.Fsql().setSql({u"update CotaLiberadas set TipoStatus = 'Enviar'"_s});
        dm.Fsql().execSql();
        submission.FormShow();
        state.ResumeTiming();

        const SubmissionResult result = submission.btn1Click();

        state.PauseTiming();
        submission.FormClose();
        if (result != SubmissionResult::Sent) {
            const std::string why = (u"not sent: "_s + prompts.problem).toStdString();
            state.SkipWithError(why.c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.counters["items"] = ItemCount;
}

} // namespace

BENCHMARK(BM_SubmitTenThousandItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
