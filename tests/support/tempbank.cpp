#include "tempbank.h"

#include "platform/db/connection.h"
#include "shell/schema.h"

#include <QDir>
#include <QFile>
#include <QTest>

TempBank::TempBank(const QString& fixture)
{
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    path_ = dir_.filePath(QString::fromLatin1(schema::BankRelativePath));
    const QString source = QStringLiteral(PREPDESK_FIXTURE_DIR "/") + fixture;
    if (!QFile::copy(source, path_))
        qFatal("fixture bank %s is missing: build the fixture_banks target", qPrintable(source));
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
}

TempBank::TempBank(EmptyBank)
{
    QDir(dir_.path()).mkpath(QStringLiteral("data"));
    path_ = dir_.filePath(QString::fromLatin1(schema::BankRelativePath));
    db::Connection::create(path_, QString::fromLatin1(schema::BankPassword));
    db::Connection cn;
    cn.open(connectionString());
    schema::createBankTables(cn);
}

void TempBank::installPictures() const
{
    QDir(folder()).mkpath(QStringLiteral("pic"));
    const QDir pics(QStringLiteral(PREPDESK_SOURCE_DIR "/assets/pic"));
    for (const QString& f : pics.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        QFile::copy(pics.filePath(f), folder() + QStringLiteral("pic/") + f);
}

QString TempBank::connectionString() const
{
    return schema::connectionString(path_, QString::fromLatin1(schema::BankPassword));
}

QString makeEmptyDatabase(const TempBank& place, const QString& name, const QString& password)
{
    const QString path = place.scratch(name);
    db::Connection::create(path, password);
    return path;
}
