#include "support/fuzz_support.h"

#include "exchange/http_body_text.h"
#include "store/data_module.h"
#include "store/released_writes.h"
#include "store/schema.h"
#include "support/row_insert.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdlib>
#include <iostream>

void fuzzSetUp()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

QByteArray inputBytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QString answerText(const QByteArray &body)
{
    return httpBodyText(body, "text/html");
}

QString ramFolderBase()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

namespace {
QTemporaryDir *filesFolder = nullptr; // lives for the whole run
}

bool fuzzSetUpWithFolder()
{
    fuzzSetUp();
    filesFolder = new QTemporaryDir(ramFolderBase() + QStringLiteral("/kelvo-fuzz-XXXXXX"));
    return filesFolder->isValid();
}

QString fuzzFolder()
{
    return filesFolder->path();
}

QString fuzzFile(const QString &name)
{
    return QDir(fuzzFolder()).filePath(name);
}

FuzzStore::FuzzStore()
    : m_store(ramFolderBase() + QStringLiteral("/kelvo-fuzz-XXXXXX"))
{
}

FuzzStore::~FuzzStore() = default;

void FuzzStore::clear()
{
    TDm &dm = m_store.dm;
    dm.closeQuotationItems();
    dm.Banco().execute(QStringLiteral("DELETE FROM CotacaoFornc"));
    dm.CotaLiberada().close();
    dm.chooseReleasedQuotations(TDm::ReleasedChoice::All);
    dm.Banco().execute(QStringLiteral("DELETE FROM CotaLiberadas"));
    // The orders' sets closed on every row, as a fresh start finds them.
    dm.PedidosLiberados().close();
    dm.chooseOrders(std::nullopt);
    dm.PedFornec().close();
    dm.chooseOrderItems(std::nullopt);
    dm.Banco().execute(QStringLiteral("DELETE FROM PedidosLiberados"));
    dm.Banco().execute(QStringLiteral("DELETE FROM PedidoFornc"));
    dm.setPodeIcota(false);
}

void addQuotation(TDm &dm, const QString &cotacao, const QString &status)
{
    insertRow(dm.Banco(), cotaLiberadasSchema(),
        { { QStringLiteral("Cotacao"), cotacao }, { QStringLiteral("TipoStatus"), status } });
}

void addQuotationItem(TDm &dm, const QString &cotacao)
{
    insertRow(dm.Banco(), cotacaoForncSchema(),
        { { QStringLiteral("CONTATO"), QStringLiteral("MARIA") }, { QStringLiteral("COTACAO"), cotacao },
            { QStringLiteral("DATA"), QDate(2020, 6, 26) },
            { QStringLiteral("PRODUTO"), QStringLiteral("P1") },
            { QStringLiteral("MARCA"), QStringLiteral("BOSCH") }, { QStringLiteral("QTDE"), 10.0 },
            { QStringLiteral("VALOR"), 1234.5 } });
}

void addOrder(TDm &dm, const QString &pedido, const QString &status)
{
    insertRow(dm.Banco(), pedidosLiberadosSchema(),
        { { QStringLiteral("Pedido"), pedido }, { QStringLiteral("TipoStatus"), status } });
}

TDm &emptyFuzzStore()
{
    // Opened once for the whole run.
    static FuzzStore *store = new FuzzStore;
    store->clear();
    return store->dm();
}

void fuzzSetUpWithStore()
{
    fuzzSetUp();
    emptyFuzzStore();
}
