// A private copy of a fixture bank in a temporary folder, removed with the object.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TempBank {
public:
    // fixture: a file name in the build's fixture folder ("small.mdb", "sample.mdb").
    explicit TempBank(const QString& fixture = QStringLiteral("small.mdb"));
    // A bank with every table and no questions, built here (tests then add the rows they need).
    struct EmptyBank {};
    explicit TempBank(EmptyBank);
    // The folder that plays the program folder: the bank is data/QB51846.mdb below it.
    QString folder() const { return dir_.path() + u'/'; }
    QString path() const { return path_; }
    QString connectionString() const;
    // Copies the program's pictures (pic/*.bmp) into the program folder; windows that show
    // grid and sheet pictures need them.
    void installPictures() const;
    // A new empty file path in the same temporary folder.
    QString scratch(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString path_;
};

// Makes an empty database without password, for tests of the data layer alone.
QString makeEmptyDatabase(const TempBank& place, const QString& name, const QString& password = {});
