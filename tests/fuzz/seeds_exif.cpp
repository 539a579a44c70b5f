// Seed corpus of the EXIF fuzz target: camera-style JPEGs with and without JFIF APP0, big-endian
// data, odd counts and offsets, a truncated file and a BMP.
#include "../info/ExifFixture.h"
#include "FuzzSeeds.h"

#include <QDir>
#include <QFile>

namespace {

void WriteSeed(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile file(QDir(folder).filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void WriteExifSeeds(const QString& folder) {
    const QList<FixtureTag> ifd0 = {TextTag(270, "Urlaub"),
                                    TextTag(271, "Canon"),
                                    TextTag(272, "PowerShot A70"),
                                    ValueTag(274, 6),
                                    TextTag(306, "2004:07:18 14:05:33"),
                                    TextTag(33432, "(c) Berg")};
    const QList<FixtureTag> exif = {TextTag(36867, "2004:07:18 14:05:33"),
                                    TextTag(36868, "2004:07:19 09:00:01"),
                                    RawTextTag(37510, QByteArray("ASCII\0\0\0Hallo", 13), 13)};
    const QByteArray camera = CameraJpeg(ifd0, exif);
    WriteSeed(folder, "camera.jpg", camera);
    WriteSeed(folder, "jfif.jpg", CameraJpeg(ifd0, exif, {.Jfif = true}));
    WriteSeed(folder, "motorola.jpg", CameraJpeg(ifd0, exif, {.BigEndian = true}));
    WriteSeed(
        folder, "odd-texts.jpg",
        CameraJpeg({RawTextTag(271, "Nikon", 0xFFFFFFFF), ValueTag(272, 0x7FFFFFF0, 6), ValueTag(274, 9)},
                   {RawTextTag(37510, "Hallo", 40)}));
    WriteSeed(folder, "exif-beyond-end.jpg", CameraJpeg({ValueTag(34665, 0x10000)}, {}));
    WriteSeed(folder, "truncated.jpg", camera.left(60));
    WriteSeed(folder, "short.jpg", QByteArray("\xFF\xD8\xFF\xE1\x00", 5));
    ByteWriter bmp;
    bmp.Raw("BM").U32(62).U32(0).U32(54).U32(40).U32(2).U32(1).U16(1).U16(24);
    bmp.U32(0).U32(8).U32(2835).U32(2835).U32(0).U32(0).U32(0x00FF0000).U32(0x0000FFFF);
    WriteSeed(folder, "picture.bmp", bmp.Data);
}

[[maybe_unused]] const bool kRegistered = RegisterSeedWriter("fuzz_exif", WriteExifSeeds);

} // namespace
