#include "ui/widgets/qt_prompts.h"

#include "report/widgets/report_preview.h"
#include "ui/widgets/choice_dialog.h"
#include "ui/widgets/msg_window.h"
#include "ui/widgets/window_keys.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> questionBox(QWidget *parent, const QString &caption, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

QWidget *QtPrompts::parentWidget() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return m_parent;
}

void QtPrompts::message(const QString &caption, const QString &text, PromptIcon icon)
{
    QMessageBox box(toIcon(icon), caption, text, QMessageBox::Ok, parentWidget());
    box.exec();
}

bool QtPrompts::ask(const QString &caption, const QString &text)
{
    return questionBox(parentWidget(), caption, text)->exec() == QMessageBox::Yes;
}

void QtPrompts::error(const QString &text)
{
    QMessageBox box(
        QMessageBox::Critical, programTitle(), errorBoxText(text), QMessageBox::Ok, parentWidget());
    box.exec();
}

std::unique_ptr<QInputDialog> inputBox(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &initial, int maxLength)
{
    auto box = std::make_unique<QInputDialog>(parent);
    box->setInputMode(QInputDialog::TextInput);
    box->setWindowTitle(caption);
    box->setLabelText(prompt);
    box->setTextValue(initial);
    // What is typed is what is stored: no more than the column keeps.
    if (auto *line = box->findChild<QLineEdit *>(); line && maxLength > 0)
        line->setMaxLength(maxLength);
    return box;
}

std::unique_ptr<ReportPreview> previewWindow(
    ReportPreparation &report, PreviewServices services, QWidget *parent)
{
    auto preview = std::make_unique<ReportPreview>(report, std::move(services), parent);
    enterPressesButtons(preview.get());
    altF4Closes(preview.get());
    return preview;
}

QString QtPrompts::input(const QString &caption, const QString &prompt, const QString &initial, int maxLength)
{
    const std::unique_ptr<QInputDialog> box = inputBox(parentWidget(), caption, prompt, initial, maxLength);
    return box->exec() == QDialog::Accepted ? box->textValue() : QString();
}

QString QtPrompts::openFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWidget(), caption, dir, filter);
}

QString QtPrompts::saveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    // Saving replaces the file without asking (the spreadsheet export does so).
    return QFileDialog::getSaveFileName(
        parentWidget(), caption, dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

int QtPrompts::choose(
    const QString &caption, const QString &text, const QStringList &columns, const QList<QStringList> &rows)
{
    ChoiceDialog dialog(parentWidget(), caption, text, columns, rows);
    dialog.exec();
    return dialog.chosenRow();
}

std::unique_ptr<LogWindow> QtPrompts::createLog()
{
    return std::make_unique<TMsgLog>(parentWidget(), m_parent);
}

void QtPrompts::previewReport(ReportPreparation &report)
{
    PreviewServices services;
    services.saveFileName = [this](const QString &caption, const QString &dir, const QString &filter) {
        return saveFileName(caption, dir, filter);
    };
    services.showError = [this](const QString &message) { error(message); };
    previewWindow(report, std::move(services), parentWidget())->exec();
}

void QtPrompts::beginWait()
{
    if (m_waitDepth++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPrompts::keepAlive()
{
    // Repaint, but keep the supplier's clicks and keys out while a request waits.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPrompts::endWait()
{
    if (m_waitDepth > 0 && --m_waitDepth == 0)
        QApplication::restoreOverrideCursor();
}
