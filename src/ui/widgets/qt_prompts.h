#pragma once

#include "ui/prompts.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QInputDialog;
class QMessageBox;
class ReportPreview;
struct PreviewServices;

// The box of every question: Yes and No, a warning icon, No the default
// button and the answer to Escape. Built apart from showing it, so that it
// can be looked at without running it.
std::unique_ptr<QMessageBox> questionBox(QWidget *parent, const QString &caption, const QString &text);

// The one-line input box; its line takes at most maxLength characters (no
// limit when 0).
std::unique_ptr<QInputDialog> inputBox(
    QWidget *parent, const QString &caption, const QString &prompt, const QString &initial, int maxLength);

// The report preview, worked with the keys of every window of ours.
std::unique_ptr<ReportPreview> previewWindow(
    ReportPreparation &report, PreviewServices services, QWidget *parent);

// Prompts shown as real Qt dialogs, owned by a parent window.
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &caption, const QString &text, PromptIcon icon = PromptIcon::None) override;
    bool ask(const QString &caption, const QString &text) override;
    void error(const QString &text) override;
    QString input(
        const QString &caption, const QString &prompt, const QString &initial, int maxLength) override;
    QString openFileName(const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &dir, const QString &filter) override;
    int choose(const QString &caption, const QString &text, const QStringList &columns,
        const QList<QStringList> &rows) override;
    std::unique_ptr<LogWindow> createLog() override;
    void previewReport(ReportPreparation &report) override;
    void beginWait() override;
    void keepAlive() override;
    void endWait() override;

private:
    QWidget *parentWidget() const;
    QPointer<QWidget> m_parent;
    int m_waitDepth = 0;
};
