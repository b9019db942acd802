#include "ui/silent_prompts.h"

namespace {

class SilentLog final : public LogWindow {
public:
    void addLine(const QString &line) override { m_lines << line; }
    QStringList lines() const override { return m_lines; }
    void showModal() override { }

private:
    QStringList m_lines;
};

} // namespace

std::unique_ptr<LogWindow> SilentPrompts::createLog()
{
    return std::make_unique<SilentLog>();
}
