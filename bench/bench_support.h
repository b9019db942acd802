#pragma once

// What the benchmarks share: prompts that confirm every question and keep
// the last problem shown, and connectivity checks that always pass.
#include "exchange/connectivity.h"
#include "ui/silent_prompts.h"

#include <QString>

#include <memory>

class BenchPrompts final : public Prompts {
public:
    void message(const QString &caption, const QString &text, PromptIcon) override
    {
        shown = caption + QStringLiteral(": ") + text;
    }
    bool ask(const QString &, const QString &) override { return true; }
    void error(const QString &text) override { shown = text; }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return path; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return path; }
    std::unique_ptr<LogWindow> createLog() override { return SilentPrompts().createLog(); }
    void previewReport(const PreparedReport &) override { }

    QString path; // the answer of every file dialog
    QString shown; // the last message or error
};

class OnlineNet final : public Connectivity {
public:
    bool IsConnected() override { return true; }
    QString checkkelvo(const QString &) override { return {}; }
};
