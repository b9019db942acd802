#include "support/killed_run.h"

#include "support/scripted_prompts.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int finishedCode = 42;
constexpr int killedCode = 43;

} // namespace

KilledRun runKilledAtBox(int box, const std::function<void(Prompts &)> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        ScriptedPrompts prompts = ScriptedPrompts::yesToAll();
        int count = 0;
        prompts.onShown = [box, &count](const ScriptedPrompts::Shown &) {
            if (++count == box)
                _exit(killedCode);
        };
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
