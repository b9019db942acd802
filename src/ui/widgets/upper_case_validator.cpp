#include "ui/widgets/upper_case_validator.h"

UpperCaseValidator::UpperCaseValidator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State UpperCaseValidator::validate(QString &input, int &) const
{
    fixup(input);
    return Acceptable;
}

void UpperCaseValidator::fixup(QString &input) const
{
    for (QChar &c : input)
        c = c.toUpper();
}
