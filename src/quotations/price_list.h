#pragma once

#include "ui/prompts.h"

#include <QString>

class Database;

// What "Tabela de preços" and `cotakelvo-cli pricelist` do with the
// supplier's own price list: import it from a workbook or a CSV file, all of
// it or nothing, and empty it.
class PriceList final {
public:
    PriceList(Prompts &prompts, Database &db);
    Q_DISABLE_COPY_MOVE(PriceList)

    // Asks for the file, then imports it. True when a list was imported.
    bool chooseAndImport();
    // Replaces the stored list with the file's, in one transaction; a file
    // with a fault is refused naming its row and column, and the list stored
    // before stays. True when the list was replaced.
    bool importFile(const QString &path);
    // Asks first (No preselected), then empties the list. True unless the
    // supplier declined or the store failed.
    bool clear();

private:
    Prompts &m_prompts;
    Database &m_db;
};
