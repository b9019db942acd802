#include "support/temp_folder.h"

#include <QFile>

#include <stdexcept>

TempFolder::TempFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::TempFolder(const QString &templatePath)
    : m_dir(templatePath)
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

void TempFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray TempFolder::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
