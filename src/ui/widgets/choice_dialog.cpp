#include "ui/widgets/choice_dialog.h"

#include "ui/widgets/form_style.h"
#include "ui/widgets/window_keys.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ChoiceDialog::ChoiceDialog(QWidget *parent, const QString &caption, const QString &text,
    const QStringList &columns, const QList<QStringList> &rows)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_table(namedChild<QTableWidget>(this, "lista"))
    , m_ok(namedChild<QPushButton>(this, "btnOk"))
    , m_cancel(namedChild<QPushButton>(this, "btnCancela"))
{
    setWindowTitle(caption);
    auto *label = new QLabel(text, this);
    label->setWordWrap(true);

    m_table->setColumnCount(int(columns.size()));
    m_table->setHorizontalHeaderLabels(columns);
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size() && c < columns.size(); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            m_table->setItem(r, c, item);
        }
    }
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();
    if (!rows.isEmpty())
        m_table->selectRow(0);
    connect(m_table, &QTableWidget::activated, this, &QDialog::accept);

    m_ok->setText(QStringLiteral("OK"));
    m_cancel->setText(QStringLiteral("Cancelar"));
    for (QPushButton *button : { m_ok, m_cancel }) {
        noDefaultButton(button);
        button->setCursor(Qt::PointingHandCursor);
    }
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    int width = 0;
    for (int c = 0; c < m_table->columnCount(); ++c)
        width += m_table->columnWidth(c);
    resize(qMax(480, width + 60), 320);
    chainTabOrder({ m_table, m_ok, m_cancel });
    enterPressesButtons(this);
    altF4Closes(this);
    m_table->setFocus(Qt::OtherFocusReason);
}

ChoiceDialog::~ChoiceDialog() = default;

int ChoiceDialog::chosenRow() const
{
    if (result() != Accepted)
        return -1;
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}
