// The listing order of folders: the file system's own order is not stable here, so folders are
// listed naturally by name, case-insensitively (IMG_2 before IMG_10).
#pragma once

#include <QString>
#include <QStringList>

// Sorts names naturally and case-insensitively; names equal but for case keep a fixed order.
void SortNaturally(QStringList& names);

// Every entry of a folder, hidden ones and "." and ".." included, in natural name order.
QStringList FolderEntries(const QString& folder);
