#include "app/app_context.h"
#include "cli/cli.h"
#include "exchange/http_client.h"
#include "quotations/quotation_submission.h"
#include "store/data_module.h"
#include "ui/prompts.h"

namespace {

// "Envia-las Agora?" for one quotation of the list of those ready to send.
int sendQuotation(CliContext &c, AppContext &app)
{
    const QString cotacao = c.options().args.at(0);
    HttpClient http;
    QuotationSubmission submission(c.prompts(), app.dm(), app.net(), http, app.settings().servidor);
    submission.setLogin(c.login());
    SubmissionResult result = SubmissionResult::Nothing;
    try {
        submission.listReady();
        if (submission.select(cotacao)) {
            result = submission.sendSelected();
        } else {
            c.prompts().message(QStringLiteral("Atenção"),
                QStringLiteral("A cotação %1 não está pronta para envio (status \"Enviar\"); "
                               "nada foi enviado.")
                    .arg(cotacao));
        }
        submission.closeList();
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    return result == SubmissionResult::Sent ? CliOk : CliFailed;
}

} // namespace

void addSubmissionCommands(QList<CliCommand> &commands)
{
    commands << CliCommand { QStringLiteral("quotations send"), QStringLiteral("quotations send COTA"),
        QStringLiteral("envia ao servidor uma cotação em \"Enviar\", como \"Envia-las Agora?\" "
                       "(confirme com --yes)"),
        1, 1, withApp(sendQuotation) };
}
