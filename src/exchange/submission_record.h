#pragma once

#include <QDate>
#include <QString>

#include <optional>

// One priced item as the buyer's server reads it: nine fields joined by "|".
struct SubmissionItem {
    QString contato;
    QString cotacao;
    QDate data;
    QString produto;
    std::optional<double> qtde;
    std::optional<double> valor; // empty when the supplier gave no price
    QString condPgto;
    QString similares;
    QString obs;
};

// A number as the server reads it: the regional general form (generalNumber)
// with every "," turned into ".".
QString wireNumber(std::optional<double> value);

// The record of one item. Texts go out as they are, "|" and line breaks
// included; the date is month/day/year.
QString itemRecord(const SubmissionItem &item);

// The answer of the delivery check: nothing when the quotation may be sent,
// else the text to show in the "Erro" box.
std::optional<QString> verificationRefusal(const QString &answer);
