#pragma once

#include <QValidator>

// Turns every letter typed, pasted or set into an edit field to upper case,
// one character for one so that the cursor stays where it was.
class UpperCaseValidator final : public QValidator {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpperCaseValidator)

public:
    explicit UpperCaseValidator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};
