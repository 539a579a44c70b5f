// TExif: reads the camera's text fields (description, maker, model, orientation, copyright, the three
// date-times, the user comment) from the EXIF segment of a JPEG file at the fixed positions cameras use.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>

// An input error of the EXIF reader: the file cannot be opened or ends before the data it must hold.
class EExifReadError : public std::runtime_error {
public:
    explicit EExifReadError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

class TExif {
public:
    // The texts as the file stores them (single-byte code page); Orientation is a name.
    QByteArray ImageDescription;
    QByteArray Make;
    QByteArray Model;
    QByteArray Orientation;
    QByteArray Copyright;
    QByteArray DateTime;
    QByteArray DateTimeOriginal;
    QByteArray DateTimeDigitized;
    QByteArray UserComment;

    TExif();

    // Reads the fields from a file. A missing file changes nothing; an unreadable or truncated one
    // raises EExifReadError and leaves the fields read so far.
    void Read(const QString& fileName);
    // The same rules applied to the bytes of a file held in memory.
    void ReadData(const QByteArray& data);

    // The name of an orientation value; the whole 32-bit value counts.
    static QByteArray OrientationName(std::uint32_t value);

    class Source;

private:
    void Reset();
    void ReadFrom(Source& source);
    // The text at offset with at most count - 1 bytes; empty when it cannot be read. Keeps the position.
    QByteArray ReadText(std::int64_t offset, std::uint32_t count);

    Source* Input = nullptr;
    std::uint32_t ExifOffset = 0;
};
