#include "FolderEntries.h"

#include <QCollator>
#include <QDir>

#include <algorithm>

void SortNaturally(QStringList& names) {
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

QStringList FolderEntries(const QString& folder) {
    QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    SortNaturally(entries);
    return entries;
}
