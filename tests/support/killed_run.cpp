#include "support/killed_run.h"

#include "ui/prompts.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int finishedCode = 42;
constexpr int killedCode = 43;

class DyingPrompts final : public Prompts {
public:
    explicit DyingPrompts(int box)
        : m_box(box)
    {
    }

    void message(const QString &, const QString &, PromptIcon) override { shown(); }
    bool ask(const QString &, const QString &) override
    {
        shown();
        return true;
    }
    void error(const QString &) override { shown(); }
    QString input(const QString &, const QString &, const QString &, int) override
    {
        shown();
        return {};
    }
    QString openFileName(const QString &, const QString &, const QString &) override
    {
        shown();
        return {};
    }
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        shown();
        return {};
    }
    std::unique_ptr<LogWindow> createLog() override { return std::make_unique<Log>(*this); }
    void previewReport(ReportPreparation &) override { shown(); }

    void shown()
    {
        if (++m_count == m_box)
            _exit(killedCode);
    }

private:
    class Log final : public LogWindow {
    public:
        explicit Log(DyingPrompts &owner)
            : m_owner(owner)
        {
        }
        void addLine(const QString &line) override { m_lines << line; }
        QStringList lines() const override { return m_lines; }
        void showModal() override { m_owner.shown(); }

    private:
        DyingPrompts &m_owner;
        QStringList m_lines;
    };

    int m_box;
    int m_count = 0;
};

} // namespace

KilledRun runKilledAtBox(int box, const std::function<void(Prompts &)> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        DyingPrompts prompts(box);
        try {
            work(prompts);
        } catch (...) {
            _exit(1);
        }
        _exit(finishedCode);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return KilledRun::Crashed;
    switch (WEXITSTATUS(status)) {
    case killedCode:
        return KilledRun::Killed;
    case finishedCode:
        return KilledRun::Finished;
    default:
        return KilledRun::Crashed;
    }
}
