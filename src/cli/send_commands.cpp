#include "app/app_context.h"
#include "cli/cli.h"
#include "exchange/exchange_frame.h"
#include "exchange/http_client.h"
#include "exchange/quotation_submission.h"
#include "store/data_module.h"

namespace {

// "Envia-las Agora?" for one quotation of the list of those ready to send.
int sendQuotation(CliContext &c, AppContext &app)
{
    const QString cotacao = c.options().args.at(0);
    HttpClient http;
    QuotationSubmission submission(c.prompts(), app.dm(), app.net(), http, app.settings().servidor);
    submission.setLogin({c.login(), c.password()});
    SubmissionResult result = SubmissionResult::Nothing;
    try {
        submission.FormShow();
        if (submission.select(cotacao)) {
            result = submission.btn1Click();
        } else {
            c.prompts().message(QStringLiteral("Atenção"),
                                QStringLiteral("A cotação %1 não está pronta para envio (status \"Enviar\"); "
                                               "nada foi enviado.")
                                    .arg(cotacao));
        }
        submission.FormClose();
    } catch (const std::exception &e) {
        c.prompts().error(errorText(e));
        return CliFailed;
    }
    return result == SubmissionResult::Sent ? CliOk : CliFailed;
}

} // namespace

void addSubmissionCommands(QList<CliCommand> &commands)
{
    commands << CliCommand{QStringLiteral("quotations send"), QStringLiteral("quotations send COTA"),
                           QStringLiteral("send a quotation in \"Enviar\" to the server, as \"Envia-las Agora?\" "
                                          "(confirm with --yes)"),
                           1, 1, withApp(sendQuotation)};
}
