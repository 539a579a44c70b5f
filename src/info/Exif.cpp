// The EXIF reader: fixed-layout reads of IFD0 and the Exif sub-directory, from a file or from memory.
#include "Exif.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

constexpr int kEntrySize = 12;
constexpr int kIfd0Entries = 12;
constexpr int kExifEntries = 24;

enum Tag : std::uint16_t {
    kTagImageDescription = 270,
    kTagMake = 271,
    kTagModel = 272,
    kTagOrientation = 274,
    kTagDateTime = 306,
    kTagCopyright = 33432,
    kTagExifOffset = 34665,
    kTagDateTimeOriginal = 36867,
    kTagDateTimeDigitized = 36868,
    kTagUserComment = 37510,
};

std::uint16_t Le16(const unsigned char* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

struct Entry {
    std::uint16_t Tag;
    std::uint32_t Count;
    std::uint32_t Value;
};

Entry ParseEntry(const std::array<unsigned char, kEntrySize>& bytes) {
    return {Le16(bytes.data()), Le32(bytes.data() + 4), Le32(bytes.data() + 8)};
}

} // namespace

// A seekable byte stream. Seeking past the end is allowed; the next read then fails, as with a file.
class TExif::Source {
public:
    virtual ~Source() = default;
    virtual bool Seek(std::int64_t position) = 0;
    virtual std::int64_t Position() const = 0;
    // Reads exactly size bytes into buffer, or returns false.
    virtual bool ReadExact(unsigned char* buffer, std::int64_t size) = 0;
    // The error for data that end before the reader is done.
    virtual QString ShortMessage() const = 0;
};

namespace {

class FileSource : public TExif::Source {
public:
    explicit FileSource(const QString& fileName) : File(fileName) {}
    bool Open() { return File.open(QIODevice::ReadOnly); }
    bool Seek(std::int64_t position) override { return position >= 0 && File.seek(position); }
    std::int64_t Position() const override { return File.pos(); }
    bool ReadExact(unsigned char* buffer, std::int64_t size) override {
        return File.read(reinterpret_cast<char*>(buffer), size) == size;
    }
    QString ShortMessage() const override {
        return QStringLiteral("E/A-Fehler: Die Datei \"%1\" endet, bevor die EXIF-Daten gelesen sind.")
            .arg(File.fileName());
    }

private:
    QFile File;
};

class MemorySource : public TExif::Source {
public:
    explicit MemorySource(const QByteArray& data) : Data(data) {}
    bool Seek(std::int64_t position) override {
        if (position < 0)
            return false;
        Pos = position;
        return true;
    }
    std::int64_t Position() const override { return Pos; }
    bool ReadExact(unsigned char* buffer, std::int64_t size) override {
        if (size < 0 || Pos > Data.size() || Data.size() - Pos < size)
            return false;
        std::copy_n(Data.constData() + Pos, size, reinterpret_cast<char*>(buffer));
        Pos += size;
        return true;
    }
    QString ShortMessage() const override {
        return QStringLiteral("E/A-Fehler: Die Daten enden, bevor die EXIF-Daten gelesen sind.");
    }

private:
    const QByteArray& Data;
    std::int64_t Pos = 0;
};

} // namespace

TExif::TExif() {
    Reset();
}

void TExif::Reset() {
    ImageDescription.clear();
    Make.clear();
    Model.clear();
    Orientation = OrientationName(1);
    Copyright.clear();
    DateTime.clear();
    DateTimeOriginal.clear();
    DateTimeDigitized.clear();
    UserComment.clear();
    ExifOffset = 0;
}

QByteArray TExif::OrientationName(std::uint32_t value) {
    switch (value) {
    case 1:
        return "Normal";
    case 2:
        return "Mirrored";
    case 3:
        return "Rotated 180";
    case 4:
        return "Rotated 180, mirrored";
    case 5:
        return "Rotated 90 left, mirrored";
    case 6:
        return "Rotated 90 right";
    case 7:
        return "Rotated 90 right, mirrored";
    case 8:
        return "Rotated 90 left";
    default:
        return "Unknown";
    }
}

void TExif::Read(const QString& fileName) {
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists() || info.isDir())
        return;
    Reset();
    FileSource source(fileName);
    if (!source.Open())
        throw EExifReadError(
            QStringLiteral("E/A-Fehler: Die Datei \"%1\" kann nicht geöffnet werden.").arg(fileName));
    ReadFrom(source);
}

void TExif::ReadData(const QByteArray& data) {
    Reset();
    MemorySource source(data);
    ReadFrom(source);
}

void TExif::ReadFrom(Source& source) {
    Input = &source;
    // The source lives only for this call; never leave a dangling pointer behind, error or not.
    struct Detach {
        Source*& Ref;
        ~Detach() { Ref = nullptr; }
    } detach{Input};

    auto readExact = [&source](unsigned char* buffer, std::int64_t size) {
        if (!source.ReadExact(buffer, size))
            throw EExifReadError(source.ShortMessage());
    };

    std::array<unsigned char, 11> head{};
    readExact(head.data(), 2);
    if (head[0] != 0xFF || head[1] != 0xD8)
        return;
    readExact(head.data(), 9);
    if (head[0] == 0xFF && head[1] == 0xE0) {
        // A standard JFIF APP0 segment is 18 bytes with its marker, so APP1 follows at offset 20.
        if (!source.Seek(20))
            throw EExifReadError(source.ShortMessage());
        readExact(head.data(), 9);
    }
    if (head[0] != 0xFF || head[1] != 0xE1)
        return;
    const std::int64_t base = source.Position() + 1;
    readExact(head.data(), 11);

    std::array<unsigned char, kEntrySize> bytes{};
    for (int i = 0; i < kIfd0Entries; ++i) {
        readExact(bytes.data(), kEntrySize);
        const Entry entry = ParseEntry(bytes);
        switch (entry.Tag) {
        case kTagImageDescription:
            ImageDescription = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagMake:
            Make = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagModel:
            Model = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagDateTime:
            DateTime = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagCopyright:
            Copyright = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagOrientation:
            Orientation = OrientationName(entry.Value);
            break;
        case kTagExifOffset:
            ExifOffset = entry.Value;
            break;
        default:
            break;
        }
    }

    if (ExifOffset == 0)
        return;
    // Skip the sub-directory's entry count.
    if (!source.Seek(base + std::int64_t(ExifOffset) + 2))
        throw EExifReadError(source.ShortMessage());
    for (int i = 0; i < kExifEntries; ++i) {
        readExact(bytes.data(), kEntrySize);
        const Entry entry = ParseEntry(bytes);
        switch (entry.Tag) {
        case kTagDateTimeOriginal:
            DateTimeOriginal = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagDateTimeDigitized:
            DateTimeDigitized = ReadText(base + entry.Value, entry.Count);
            break;
        case kTagUserComment:
            UserComment = ReadText(base + entry.Value, entry.Count);
            break;
        default:
            break;
        }
    }
}

QByteArray TExif::ReadText(std::int64_t offset, std::uint32_t count) {
    const std::int64_t saved = Input->Position();
    QByteArray text;
    bool ok = Input->Seek(offset);
    // The text grows byte by byte, so a huge count from the file never sizes an allocation.
    for (std::int64_t i = 0; ok && i < std::int64_t(count) - 1; ++i) {
        unsigned char byte = 0;
        ok = Input->ReadExact(&byte, 1);
        if (!ok || byte == 0)
            break;
        text.append(char(byte));
    }
    if (!Input->Seek(saved))
        ok = false;
    return ok ? text : QByteArray();
}
