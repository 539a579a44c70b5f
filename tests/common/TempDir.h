// A temporary folder for one test's fixtures, removed when the test ends.
#pragma once

#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    // Absolute path of a file inside the folder.
    QString File(const QString& name) const;
    QString Path() const { return dir.path(); }

private:
    QTemporaryDir dir;
};
