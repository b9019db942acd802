#include "app/app_context.h"

#include "config/credential_file.h"
#include "config/server_file.h"
#include "store/data_module.h"
#include "ui/prompts.h"

#include <QDir>

QString databaseFileName()
{
    return QStringLiteral("CotaKelvo.new");
}

AppContext::AppContext(QString folder, Connectivity *net)
    : m_folder(std::move(folder))
    , m_dm(std::make_unique<TDm>())
    , m_systemNet(net ? nullptr : std::make_unique<SystemConnectivity>())
    , m_net(net ? net : m_systemNet.get())
{
}

AppContext::~AppContext() = default;

QString AppContext::databasePath() const
{
    return QDir(m_folder).absoluteFilePath(databaseFileName());
}

bool AppContext::start(Prompts &prompts)
{
    bool proceed = true;
    // getservidor: its last step opens the store.
    const ServerFile server = readServerFile(m_folder);
    m_settings.servidor = server.servidor;
    if (!server.ok()) {
        if (server.failure)
            prompts.message(server.failure->caption, server.failure->text);
        proceed = false;
    } else {
        try {
            m_dm->openStore(databasePath());
            m_storeOpen = true;
        } catch (const std::exception &e) {
            // The handler ends here: the credentials are not read.
            prompts.error(errorText(e));
            return true;
        }
    }
    // getuserpass
    const StoredCredentials stored = readCredentials(m_folder);
    m_settings.usuario = stored.usuario;
    m_settings.senha = stored.senha;
    if (stored.error)
        prompts.error(*stored.error);
    return proceed;
}
