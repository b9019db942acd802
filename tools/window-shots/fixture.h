#pragma once

#include <QString>

class QDialog;
class TDm;

// A program folder for the pictures: server.new, credentials and an empty store.
void writeFixtureFolder(const QString &folder);
// Quotations in every status, with items, and orders.
void fillFixtureStore(TDm &dm);
// Puts a working window into the state worth a picture (a quotation chosen...).
void prepareFixtureWindow(const QString &windowClass, QDialog *window);
