// The naming rules of the image series: paths, copy names, display names, list entry texts and
// progress figures. Pure functions that the main window's handlers call.
#pragma once

#include <QString>

namespace SeriesNames {

// Appends "/" unless the path is empty or already ends with one.
QString WithBackslash(const QString& path);
// The text before the last "/" (the root "/" keeps its slash); empty when there is none.
QString FolderOf(const QString& path);
// The part after the last "/".
QString FileNamePart(const QString& path);

// The series copy's name for a source file name, or an empty text when the file is not opened.
// singlePicture: one picture is opened, where a ".JPEG" name keeps the text before its first
// ".JPEG" as base.
QString CopyName(const QString& sourceName, bool singlePicture = false);

// The name the list shows for a series copy: urlaub_tiff.jpg -> urlaub.tif.
QString DisplayName(const QString& copyName);

// Reduces a name to the series copy it belongs to (the first step of showing a picture).
QString SeriesCopyOf(const QString& name);

// The list entry text: <IMG src="file://THUMB_FOLDER_THUMB_kC" align="top">DISPLAY.
QString EntryText(const QString& thumbFolder, int number, const QString& copyName);

// The file of the current picture from a selected entry's text: the display name after the IMG
// tag, or the whole text when it carries none. The entry is split at its tag, not at the first
// ">" or "|", so names holding those characters survive.
QString EntryFileName(const QString& entryText);

// The series copy's file name that a name stands for: a list entry's text (by its display name),
// a path, or a source file name.
QString ShownCopyName(const QString& name);

// done / total * 100, rounded with halves to even; 0 when total is 0.
int ProgressPercent(int done, int total);

} // namespace SeriesNames
