#pragma once

#include <QString>

class QDialog;
class TDm;

// Ordinary values, or the longest each column keeps, as real buyers and
// suppliers write them (accents on capitals included).
enum class FixtureValues { Ordinary, Long };

// A program folder for the pictures: server.new, credentials and an empty store.
void writeFixtureFolder(const QString &folder, FixtureValues values);
// Quotations in every status, with items, and orders.
void fillFixtureStore(TDm &dm, FixtureValues values);
// The number the fixture gives a quotation or order ("2026000102").
QString fixtureNumber(const char *digits, FixtureValues values);
// Puts a working window into the state worth a picture (a quotation chosen...).
void prepareFixtureWindow(const QString &windowClass, QDialog *window, FixtureValues values);
