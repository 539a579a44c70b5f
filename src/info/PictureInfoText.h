// The texts of the information display: the file format names, the status line and the nine lines
// of the EXIF panel. Plain functions, so the window only puts their results on screen.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TExif;

// The name of the engine's file format code, or "NOT SUPPORTED".
QString FormatName(int code);

// The status line: format name (or code), size, colour depth and compression.
QString PictureInfoLine(int fileFormat, int width, int height, int bits, const QString& compression);

// A text as the file stores it, in the Western single-byte code page (Windows-1252).
QString DecodeExifText(const QByteArray& bytes);

// The nine panel lines, without labels, in display order.
QStringList ExifPanelLines(const TExif& exif);
