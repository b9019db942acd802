#include "support/fuzz_support.h"

#include "exchange/http_body_text.h"
#include "store/data_module.h"
#include "store/released_writes.h"
#include "store/schema.h"

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
    for (Table *table : { &dm.CotaLiberada() }) {
        table->close();
        table->setFiltered(false);
        table->setFilter(QString());
        table->setIndexName(QString());
        dm.Banco().execute(QStringLiteral("DELETE FROM ") + table->tableName());
    }
    // The orders' sets closed on every row, as a fresh start finds them.
    dm.PedidosLiberados().close();
    dm.chooseOrders(std::nullopt);
    dm.PedFornec().close();
    dm.chooseOrderItems(std::nullopt);
    dm.Banco().execute(QStringLiteral("DELETE FROM PedidosLiberados"));
    dm.Banco().execute(QStringLiteral("DELETE FROM PedidoFornc"));
    dm.setPodeIcota(false);
}

namespace {

void requireAppend(Table &table)
{
    if (!table.append()) {
        std::cerr << "fuzz: the store refused a row of " << table.tableName().toStdString() << std::endl;
        std::abort();
    }
}

} // namespace

void addQuotation(TDm &dm, const QString &cotacao, const QString &status)
{
    Table &released = dm.CotaLiberada();
    const bool wasOpen = released.isOpen();
    released.open();
    requireAppend(released);
    released.setText(QStringLiteral("Cotacao"), cotacao);
    released.setText(QStringLiteral("TipoStatus"), status);
    released.post();
    if (!wasOpen)
        released.close();
}

void addQuotationItem(TDm &dm, const QString &cotacao)
{
    Statement insert(dm.Banco(),
        QStringLiteral("INSERT INTO CotacaoFornc (CONTATO, COTACAO, DATA, PRODUTO, MARCA, QTDE, VALOR) "
                       "VALUES ('MARIA', ?, '2020-06-26', 'P1', 'BOSCH', 10, 1234.5)"));
    // As the program stores it: cut to the column, refused when empty.
    insert.bindAll({ cotacaoForncField(CotacaoForncColumn::COTACAO).storable(cotacao) });
    insert.step();
    dm.Banco().announceWritten({ QStringLiteral("CotacaoFornc") });
}

void addOrder(TDm &dm, const QString &pedido, const QString &status)
{
    const qint64 rowid = addReleasedOrder(dm.Banco(), pedido, status, QDate(), QTime());
    dm.Banco().announceRowsWritten(QStringLiteral("PedidosLiberados"), { rowid });
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
