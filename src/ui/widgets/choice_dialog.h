#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QPushButton;
class QTableWidget;

// One row to choose from a list: the text above it, the rows under their
// column titles, the first one selected. Enter or a double click on a row
// chooses it, as "OK" does; Escape and "Cancelar" choose nothing. Neither
// button is a default one.
class ChoiceDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChoiceDialog)

public:
    ChoiceDialog(QWidget *parent, const QString &caption, const QString &text, const QStringList &columns,
        const QList<QStringList> &rows);
    ~ChoiceDialog() override;

    QTableWidget *table() const { return m_table; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }
    // The row chosen when the dialog was accepted, else -1.
    int chosenRow() const;

private:
    QTableWidget *m_table;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
