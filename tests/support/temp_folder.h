#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A private folder for one test, removed when the test ends.
class TempFolder final {
public:
    TempFolder();
    // In the folder of templatePath, named after it (see QTemporaryDir).
    explicit TempFolder(const QString &templatePath);
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
};
