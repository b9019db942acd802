#pragma once

#include "ui/prompts.h"

// Prompts that show nothing and answer No: for pictures and benchmarks of
// windows that are shown, not used.
class SilentPrompts final : public Prompts {
public:
    void message(const QString &, const QString &, PromptIcon = PromptIcon::None) override { }
    bool ask(const QString &, const QString &) override { return false; }
    void error(const QString &) override { }
    QString input(const QString &, const QString &, const QString &, int) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    std::unique_ptr<LogWindow> createLog() override;
    void previewReport(ReportPreparation &) override { }
};
