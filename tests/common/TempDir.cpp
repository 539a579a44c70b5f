#include "TempDir.h"

#include <stdexcept>

TempDir::TempDir() {
    if (!dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempDir::File(const QString& name) const {
    return dir.filePath(name);
}
