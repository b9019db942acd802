// A configuration file that is there but cannot be read: on Windows, one that
// another program holds open without sharing it (an editor, a backup tool).
// Elsewhere a FIFO plays the part (test_unreadable_files_posix.cpp).
#include "config/credential_file.h"
#include "config/server_file.h"
#include "support/qstring_printer.h"
#include "support/temp_folder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The file, created with some content and held without sharing while the
// object lives.
class HeldFile final {
public:
    explicit HeldFile(const QString &path)
        : m_handle(CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
            GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        DWORD written = 0;
        WriteFile(m_handle, "http://a\r\n", 10, &written, nullptr);
    }
    ~HeldFile() { CloseHandle(m_handle); }
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;
    bool held() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

} // namespace

TEST(CredentialFile, FileHeldByAnotherProgramIsAnErrorWithEmptyValues)
{
    TempFolder dir;
    const QString path = dir.file(QStringLiteral("userkelvo.new"));
    const HeldFile held(path);
    ASSERT_TRUE(held.held());
    const StoredCredentials c = readCredentials(dir.path());
    EXPECT_EQ(c.usuario, QString());
    EXPECT_EQ(c.senha, QString());
    ASSERT_TRUE(c.error.has_value());
    // Then the system's own words for the sharing violation, in the
    // language of the system.
    const QString opening
        = QStringLiteral("Não foi possível abrir o arquivo \"%1\": ").arg(QDir::toNativeSeparators(path));
    EXPECT_TRUE(c.error->startsWith(opening) && c.error->size() > opening.size()) << c.error->toStdString();
}

TEST(ServerFile, FileHeldByAnotherProgramIsReportedAsDamaged)
{
    TempFolder dir;
    const HeldFile held(dir.file(QStringLiteral("server.new")));
    ASSERT_TRUE(held.held());
    const ServerFile r = readServerFile(dir.path());
    EXPECT_EQ(r.status, ServerFileStatus::Unusable);
    ASSERT_TRUE(r.failure.has_value());
    EXPECT_EQ(r.failure->text,
        QStringLiteral("Arquivo de configuração do servidor, está com problemas...Verifique..."));
}
