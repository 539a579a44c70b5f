// Tests of the EXIF reader on camera-style files built byte by byte, read from disk and from memory.
#include "Exif.h"
#include "ExifFixture.h"
#include "PictureInfoText.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QList<QByteArray> Fields(const TExif& exif) {
    return {exif.ImageDescription,
            exif.Make,
            exif.Model,
            exif.Orientation,
            exif.Copyright,
            exif.DateTime,
            exif.DateTimeOriginal,
            exif.DateTimeDigitized,
            exif.UserComment};
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Reads the bytes as a file and from memory; both ways must agree.
TExif ReadBoth(const QByteArray& bytes) {
    TempDir dir;
    const QString path = dir.File("picture.jpg");
    WriteFile(path, bytes);
    TExif fromFile;
    fromFile.Read(path);
    TExif fromMemory;
    fromMemory.ReadData(bytes);
    EXPECT_EQ(Fields(fromFile), Fields(fromMemory));
    return fromFile;
}

const QList<QByteArray> kDefaults = {"", "", "", "Normal", "", "", "", "", ""};

// The fields a typical camera writes, and what the reader must make of them.
QList<FixtureTag> CameraIfd0() {
    return {TextTag(270, "Urlaub am See"),       TextTag(271, "Canon"),
            TextTag(272, "PowerShot A70"),       ValueTag(274, 6),
            TextTag(306, "2004:07:18 14:05:33"), TextTag(33432, "(c) Jana Berg")};
}
QList<FixtureTag> CameraExif() {
    return {ValueTag(33434, 100), TextTag(36867, "2004:07:18 14:05:33"),
            TextTag(36868, "2004:07:19 09:00:01"),
            RawTextTag(37510, QByteArray("ASCII\0\0\0Sonnenuntergang", 23), 23)};
}
const QList<QByteArray> kCameraFields = {"Urlaub am See",
                                         "Canon",
                                         "PowerShot A70",
                                         "Rotated 90 right",
                                         "(c) Jana Berg",
                                         "2004:07:18 14:05:33",
                                         "2004:07:18 14:05:33",
                                         "2004:07:19 09:00:01",
                                         "ASCII"};

TEST(ExifReader, ReadsCameraFieldsWithAndWithoutJfifSegment) {
    for (const bool jfif : {false, true}) {
        SCOPED_TRACE(jfif ? "behind JFIF APP0" : "APP1 first");
        const QByteArray bytes = CameraJpeg(CameraIfd0(), CameraExif(), {.Jfif = jfif});
        EXPECT_EQ(bytes.mid(jfif ? 20 : 2, 2), QByteArray("\xFF\xE1"));
        EXPECT_EQ(Fields(ReadBoth(bytes)), kCameraFields);
    }
}

TEST(ExifReader, BigEndianTiffDataGivesDefaults) {
    EXPECT_EQ(Fields(ReadBoth(CameraJpeg(CameraIfd0(), CameraExif(), {.BigEndian = true}))), kDefaults);
}

TEST(ExifReader, NonJpegFilesGiveDefaultsAndResetEarlierValues) {
    // A 2x1 24-bit BMP: header, info header, one padded row.
    ByteWriter bmp;
    bmp.Raw("BM").U32(14 + 40 + 8).U32(0).U32(54);
    bmp.U32(40).U32(2).U32(1).U16(1).U16(24).U32(0).U32(8).U32(2835).U32(2835).U32(0).U32(0);
    bmp.U32(0x00FF0000).U32(0x0000FFFF);
    const QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    // A JPEG whose first segment is neither APP0 nor APP1, and APP0 not followed by APP1.
    const QByteArray dqtFirst = QByteArray("\xFF\xD8\xFF\xDB", 4) + QByteArray(60, '\0');
    QByteArray jfifOnly = CameraJpeg(CameraIfd0(), {}, {.Jfif = true});
    jfifOnly[21] = char(0xDB);

    for (const QByteArray& other : {bmp.Data, png, dqtFirst, jfifOnly}) {
        TempDir dir;
        WriteFile(dir.File("camera.jpg"), CameraJpeg(CameraIfd0(), CameraExif()));
        WriteFile(dir.File("other"), other);
        TExif exif;
        exif.Read(dir.File("camera.jpg"));
        ASSERT_EQ(exif.Make, "Canon");
        exif.Read(dir.File("other"));
        EXPECT_EQ(Fields(exif), kDefaults) << other.left(4).toHex().constData();

        const QStringList lines = ExifPanelLines(exif);
        EXPECT_EQ(lines, QStringList({"", "", "", "Normal", "", "", "", "", ""}));
    }
}

TEST(ExifReader, MissingFileOrFolderChangesNothing) {
    TempDir dir;
    WriteFile(dir.File("camera.jpg"), CameraJpeg(CameraIfd0(), CameraExif()));
    TExif exif;
    exif.Read(dir.File("camera.jpg"));
    for (const QString& name : {dir.File("missing.jpg"), dir.Path(), QString()}) {
        EXPECT_NO_THROW(exif.Read(name));
        EXPECT_EQ(Fields(exif), kCameraFields) << name.toStdString();
    }
}

TEST(ExifReader, OrientationNamesCompareTheWholeValue) {
    const std::pair<std::uint32_t, QByteArray> cases[] = {
        {1, "Normal"},
        {2, "Mirrored"},
        {3, "Rotated 180"},
        {4, "Rotated 180, mirrored"},
        {5, "Rotated 90 left, mirrored"},
        {6, "Rotated 90 right"},
        {7, "Rotated 90 right, mirrored"},
        {8, "Rotated 90 left"},
        {0, "Unknown"},
        {9, "Unknown"},
        {0x00010006, "Unknown"}, // non-zero upper half of the value field
        {0xFFFFFFFF, "Unknown"},
    };
    for (const auto& [value, name] : cases)
        EXPECT_EQ(ReadBoth(CameraJpeg({ValueTag(274, value)}, {})).Orientation, name) << value;
    EXPECT_EQ(ReadBoth(CameraJpeg({TextTag(271, "Canon")}, {})).Orientation, "Normal");
}

TEST(ExifReader, TextCountRule) {
    struct Case {
        const char* What;
        FixtureTag Tag;
        QByteArray Expected;
    };
    const Case cases[] = {
        {"count 0", RawTextTag(271, "Canon", 0), ""},
        {"count 1", RawTextTag(271, "Canon", 1), ""},
        {"cut to count - 1", RawTextTag(271, "Canon", 4), "Can"},
        {"exact, no terminator needed", RawTextTag(271, "Canon", 6), "Canon"},
        {"stops at the first zero", RawTextTag(271, QByteArray("Ca\0non", 6), 7), "Ca"},
        {"date-time count 20", TextTag(271, "2004:07:18 14:05:33"), "2004:07:18 14:05:33"},
        // A short text stored inside the entry is still taken as an offset: here far beyond the end.
        {"inline text", ValueTag(271, 0x00636241, 4), ""},
        {"offset beyond the end", ValueTag(271, 0x7FFFFFF0, 6), ""},
        {"huge count", RawTextTag(271, QByteArray("Canon\0", 6), 0xFFFFFFFF), "Canon"},
        {"high bytes", RawTextTag(271, "\xE9t\xE9 \x80", 6), "\xE9t\xE9 \x80"},
    };
    for (const Case& c : cases) {
        // Model after the tested entry shows that the reader went on at the right place.
        const TExif exif = ReadBoth(CameraJpeg({c.Tag, TextTag(272, "A70")}, {}));
        EXPECT_EQ(exif.Make, c.Expected) << c.What;
        EXPECT_EQ(exif.Model, "A70") << c.What;
    }
    EXPECT_EQ(DecodeExifText("\xE9t\xE9 \x80"), QString::fromUtf8("été €"));
}

TEST(ExifReader, TextRunningPastTheEndIsEmptyAndOthersAreStillRead) {
    // The last text ends the file, so an unterminated one with a large count runs out of data.
    const QByteArray inIfd0 = CameraJpeg({TextTag(272, "A70"), RawTextTag(271, "Nikon", 50)}, {});
    ASSERT_TRUE(inIfd0.endsWith("A70" + QByteArray(1, '\0') + "Nikon"));
    const TExif first = ReadBoth(inIfd0);
    EXPECT_EQ(first.Make, "");
    EXPECT_EQ(first.Model, "A70");

    const QByteArray inExif = CameraJpeg(
        {TextTag(272, "A70")}, {TextTag(36867, "2004:07:18 14:05:33"), RawTextTag(37510, "Hallo", 40)});
    ASSERT_TRUE(inExif.endsWith("Hallo"));
    const TExif second = ReadBoth(inExif);
    EXPECT_EQ(second.Model, "A70");
    EXPECT_EQ(second.DateTimeOriginal, "2004:07:18 14:05:33");
    EXPECT_EQ(second.UserComment, "");
}

TEST(ExifReader, ReadsExactlyTwelveAndTwentyFourEntriesLaterOneWins) {
    QList<FixtureTag> ifd0 = {TextTag(271, "Canon"), TextTag(271, "Nikon")};
    while (ifd0.size() < 11)
        ifd0.append(ValueTag(282, 72)); // with the Exif pointer first these are entries 1..12
    ifd0.append(TextTag(33432, "thirteenth"));
    QList<FixtureTag> exif = {TextTag(36867, "first"), TextTag(36867, "second")};
    while (exif.size() < 24)
        exif.append(ValueTag(33434, 1));
    exif.append(TextTag(37510, "twenty-fifth"));

    const TExif result = ReadBoth(CameraJpeg(ifd0, exif));
    EXPECT_EQ(result.Make, "Nikon");
    EXPECT_EQ(result.Copyright, "");
    EXPECT_EQ(result.DateTimeOriginal, "second");
    EXPECT_EQ(result.UserComment, "");
}

TEST(ExifReader, FewerThanTwelveEntriesReadsOnIntoTheFollowingBytes) {
    // IFD0 claims two entries; the bytes after it form a Model entry that is read as the third.
    ByteWriter tiff;
    tiff.Raw("II").U16(42).U32(8).U16(2);
    tiff.U16(271).U16(2).U32(6).U32(0); // Make at offset 0 of the TIFF data: "II*" then a zero
    tiff.U16(282).U16(5).U32(1).U32(0);
    tiff.U16(272).U16(2).U32(6).U32(0);
    for (int i = 3; i < 12; ++i)
        tiff.U16(0).U16(0).U32(0).U32(0);
    ByteWriter file(true);
    file.U16(0xFFD8).U16(0xFFE1).U16(2 + 6 + unsigned(tiff.Data.size())).Raw(QByteArray("Exif\0\0", 6));
    file.Raw(tiff.Data);
    const TExif exif = ReadBoth(file.Data);
    EXPECT_EQ(exif.Make, "II*");
    EXPECT_EQ(exif.Model, "II*");
}

TEST(ExifReader, ShortFilesRaiseReadErrorAndKeepFieldsReadSoFar) {
    // The texts sit at the end of the file and are cut off, so Orientation (a value in its entry,
    // the fifth IFD0 entry after the Exif pointer and four texts) shows what was read before.
    const QByteArray camera = CameraJpeg(CameraIfd0(), CameraExif());
    const int ifd0Start = 2 + 10 + 10; // marker, APP1 header, TIFF header and entry count
    const int exifStart = ifd0Start + 12 * 12 + 4 + 2;
    const QByteArray exifBeyondEnd = CameraJpeg({ValueTag(274, 6), ValueTag(34665, 0x10000)}, {});
    struct Case {
        const char* What;
        QByteArray Bytes;
        QByteArray Orientation;
    };
    const Case cases[] = {
        {"empty file", {}, "Normal"},
        {"one byte", "\xFF", "Normal"},
        {"5 bytes starting with FF D8", QByteArray("\xFF\xD8\xFF\xE1\x00", 5), "Normal"},
        {"APP0 cut before offset 29", QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\0\1\1\0\0\1\0\1\0\0", 20),
         "Normal"},
        {"cut in the TIFF header", camera.left(2 + 10 + 5), "Normal"},
        {"cut in the fifth IFD0 entry", camera.left(ifd0Start + 4 * 12 + 5), "Normal"},
        {"cut in the sixth IFD0 entry", camera.left(ifd0Start + 5 * 12 + 5), "Rotated 90 right"},
        {"Exif sub-directory beyond the end", exifBeyondEnd, "Rotated 90 right"},
        {"cut in the Exif sub-directory", camera.left(exifStart + 12 * 5 + 3), "Rotated 90 right"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        WriteFile(dir.File("short.jpg"), c.Bytes);
        TExif fromFile;
        fromFile.Make = "stale";
        EXPECT_THROW(fromFile.Read(dir.File("short.jpg")), EExifReadError) << c.What;
        EXPECT_EQ(fromFile.Orientation, c.Orientation) << c.What;
        EXPECT_EQ(fromFile.Make, "") << c.What;
        TExif fromMemory;
        EXPECT_THROW(fromMemory.ReadData(c.Bytes), EExifReadError) << c.What;
        EXPECT_EQ(Fields(fromMemory), Fields(fromFile)) << c.What;
    }
}

TEST(ExifReader, ReadErrorNamesTheFile) {
    TempDir dir;
    WriteFile(dir.File("kurz.jpg"), QByteArray("\xFF\xD8\xFF\xE1\x00", 5));
    TExif exif;
    try {
        exif.Read(dir.File("kurz.jpg"));
        FAIL() << "no error";
    } catch (const EExifReadError& error) {
        EXPECT_TRUE(error.Message().startsWith("E/A-Fehler: ")) << error.what();
        EXPECT_TRUE(error.Message().contains(dir.File("kurz.jpg"))) << error.what();
    }
}

} // namespace
