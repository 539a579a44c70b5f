// Builds camera-style JPEG files byte by byte for the EXIF tests and the fuzz seeds: a little byte
// writer and a TIFF directory builder that lays out IFD0, the Exif sub-directory and their texts.
#pragma once

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstdint>

class ByteWriter {
public:
    explicit ByteWriter(bool bigEndian = false) : BigEndian(bigEndian) {}
    ByteWriter& U8(unsigned value) {
        Data.append(char(value & 0xFF));
        return *this;
    }
    ByteWriter& U16(unsigned value) {
        return BigEndian ? U8(value >> 8).U8(value) : U8(value).U8(value >> 8);
    }
    ByteWriter& U32(std::uint32_t value) {
        return BigEndian ? U16(value >> 16).U16(value) : U16(value).U16(value >> 16);
    }
    ByteWriter& Raw(const QByteArray& bytes) {
        Data.append(bytes);
        return *this;
    }
    QByteArray Data;

private:
    bool BigEndian;
};

// One directory entry. A non-empty payload goes to the data area and the value becomes its offset.
struct FixtureTag {
    std::uint16_t Id = 0;
    std::uint32_t Count = 0;
    std::uint32_t Value = 0;
    QByteArray Payload;
};

// A zero-terminated text with the standard count.
inline FixtureTag TextTag(std::uint16_t id, const QByteArray& text) {
    const QByteArray payload = text + '\0';
    return {id, std::uint32_t(payload.size()), 0, payload};
}
// Payload bytes exactly as given, with any count.
inline FixtureTag RawTextTag(std::uint16_t id, const QByteArray& bytes, std::uint32_t count) {
    return {id, count, 0, bytes};
}
// A value stored in the entry itself.
inline FixtureTag ValueTag(std::uint16_t id, std::uint32_t value, std::uint32_t count = 1) {
    return {id, count, value, {}};
}

struct FixtureLayout {
    bool Jfif = false;      // a standard JFIF APP0 segment before APP1
    bool BigEndian = false; // "MM" TIFF data
};

// FF D8, optional APP0, the APP1 marker and length, "Exif\0\0", then the TIFF data: header, IFD0
// (padded to twelve entries, the Exif pointer first when there is a sub-directory), the Exif
// sub-directory (padded to twenty-four entries) and the texts. The texts end the file.
inline QByteArray CameraJpeg(QList<FixtureTag> ifd0, const QList<FixtureTag>& exif,
                             FixtureLayout layout = {}) {
    constexpr std::uint16_t kPadding = 0x011A; // XResolution: a tag the reader ignores
    const int ifd0Count = int(std::max<qsizetype>(12, ifd0.size() + (exif.isEmpty() ? 0 : 1)));
    const std::uint32_t exifStart = 8 + 2 + 12 * ifd0Count + 4;
    const int exifCount = exif.isEmpty() ? 0 : int(std::max<qsizetype>(24, exif.size()));
    std::uint32_t dataStart = exifStart + (exif.isEmpty() ? 0 : 2 + 12 * exifCount + 4);
    if (!exif.isEmpty())
        ifd0.prepend(ValueTag(34665, exifStart));

    ByteWriter data(layout.BigEndian);
    auto writeDirectory = [&](const QList<FixtureTag>& tags, int count, ByteWriter& tiff) {
        tiff.U16(count);
        for (int i = 0; i < count; ++i) {
            const FixtureTag tag = i < tags.size() ? tags[i] : ValueTag(kPadding, 72);
            std::uint32_t value = tag.Value;
            if (!tag.Payload.isEmpty()) {
                value = dataStart + std::uint32_t(data.Data.size());
                data.Raw(tag.Payload);
            }
            tiff.U16(tag.Id).U16(2).U32(tag.Count).U32(value);
        }
        tiff.U32(0);
    };
    ByteWriter tiff(layout.BigEndian);
    tiff.Raw(layout.BigEndian ? "MM" : "II").U16(42).U32(8);
    writeDirectory(ifd0, ifd0Count, tiff);
    if (!exif.isEmpty())
        writeDirectory(exif, exifCount, tiff);
    tiff.Raw(data.Data);

    ByteWriter file(true); // JPEG markers and lengths are big-endian
    file.U16(0xFFD8);
    if (layout.Jfif)
        file.U16(0xFFE0).U16(16).Raw(QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
    file.U16(0xFFE1).U16(2 + 6 + unsigned(tiff.Data.size())).Raw(QByteArray("Exif\0\0", 6)).Raw(tiff.Data);
    return file.Data;
}
