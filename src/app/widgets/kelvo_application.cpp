#include "app/widgets/kelvo_application.h"

#include "ui/prompts.h"

#include <QMessageBox>

KelvoApplication::KelvoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool deliverGuarded(const std::function<bool()> &deliver, Prompts *prompts)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        if (prompts)
            prompts->error(errorText(e));
        else
            QMessageBox::critical(nullptr, programTitle(), errorBoxText(errorText(e)));
    }
    return false;
}

bool KelvoApplication::notify(QObject *receiver, QEvent *event)
{
    return deliverGuarded([&] { return QApplication::notify(receiver, event); }, m_prompts);
}
