// The texts of the information display.
#include "PictureInfoText.h"

#include "Exif.h"

#include <array>
#include <utility>

namespace {

// The complete list; the double blanks and the trailing blank belong to the names.
constexpr std::pair<int, const char*> kFormatNames[] = {
    {1, "ZSoft PCX"},
    {2, "CompuServe GIF"},
    {3, "Tagged Image File Format"},
    {4, "Targa"},
    {5, "LEAD CMP"},
    {6, "Windows BMP"},
    {10, "Jpeg File Interchange Format"},
    {11, "Jpeg Tag Image File Format"},
    {14, "OS/2 BMP "},
    {15, "Windows Meta File"},
    {16, "Encapsulated Post Script"},
    {17, "TIF Format with LZW compression"},
    {20, "LEAD  Proprietary"},
    {21, "JPEG  4:1:1"},
    {22, "JPEG  4:1:1"},
    {23, "JPEG  4:2:2"},
    {24, "JPEG  4:2:2"},
    {25, "TIFF  CCITT"},
    {26, "LEAD 1 bit, lossless compression"},
    {27, "CCITT Group3 one dimension"},
    {28, "CCITT Group3 two dimensions"},
    {29, "CCITT Group4 two dimensions"},
    {30, "LEAD  Proprietary Lossless"},
    {31, "old LEAD 1 bit, lossless compression"},
    {50, "FILE_CALS"},
    {51, "FILE_MAC"},
    {52, "FILE_IMG"},
    {53, "FILE_MSP"},
    {54, "FILE_WPG"},
    {55, "FILE_RAS"},
    {56, "FILE_PCT"},
    {57, "FILE_PCD"},
    {58, "FILE_DXF"},
    {59, "FILE_AVI"},
    {60, "FILE_WAV"},
    {61, "FILE_FLI"},
    {62, "FILE_CGM"},
    {63, "EPS with TIFF Preview"},
    {64, "EPS with Metafile Preview"},
    {65, "FILE_CMPNOLOSS"},
    {66, "FILE_FAX_G3_1D"},
    {67, "FILE_FAX_G3_2D"},
    {68, "FILE_FAX_G4"},
    {69, "FILE_WFX_G3_1D"},
    {70, "FILE_WFX_G4"},
    {71, "FILE_ICA_G3_1D"},
    {72, "FILE_ICA_G3_2D"},
    {73, "FILE_ICA_G4"},
    {74, "FILE_OS2_2"},
    {75, "FILE_PNG"},
    {76, "FILE_PSD"},
    {77, "FILE_RAWICA_G3_1D"},
    {78, "FILE_RAWICA_G3_2D"},
    {79, "FILE_RAWICA_G4"},
    {80, "FlashPix, no compression"},
    {81, "FlashPix, compression single color method"},
    {82, "FlashPix, compression JPEG"},
    {83, "FlashPix, compression JPEG, specify qFactor"},
    {84, "compressed Windows BMP"},
    {85, "TIFF no compression, CMYK data"},
    {86, "TIFF LZW compression, CMYK data"},
    {87, "TIFF PackBits compression, RGB data"},
    {88, "TIFF PackBits compression, CMYK data"},
    {89, "FILE_DICOM_GRAY"},
    {90, "FILE_DICOM_COLOR"},
    {91, "FILE_WIN_ICO"},
    {92, "FILE_WIN_CUR"},
    {93, "TIFF YCbCr color space, no compression"},
    {94, "TIFF YCbCr color space, LZW compression"},
    {95, "TIFF YCbCr color space, PackBits compression"},
    {96, "uncompressed RGB Exif file"},
    {97, "uncompressed YCbCr Exif file"},
    {98, "JPEG 4:2:2 compressed Exif file"},
    {99, "Microsoft Fax format"},
    {100, "for ISIS only! use the data as is, from the ISIS Scanner"},
    {101, "JPEG 4:1:1 compressed Exif file"},
    {119, "FILE_ANI"},
    {134, "FILE_FLC"},
};

const QString kNotSupported = QStringLiteral("NOT SUPPORTED");

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes keep their code.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

QString FormatName(int code) {
    for (const auto& [formatCode, name] : kFormatNames)
        if (formatCode == code)
            return QString::fromLatin1(name);
    return kNotSupported;
}

QString PictureInfoLine(int fileFormat, int width, int height, int bits, const QString& compression) {
    const QString five(5, QLatin1Char(' '));
    const QString name = FormatName(fileFormat);
    QString line = name != kNotSupported ? QStringLiteral("   ") + name : five + QString::number(fileFormat);
    line += five + QString::number(width) + QLatin1Char('x') + QString::number(height);
    line += five + QString::number(bits) + QStringLiteral("Bit Farben  ");
    line += five + compression;
    return line;
}

QString DecodeExifText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

QStringList ExifPanelLines(const TExif& exif) {
    QStringList lines;
    for (const QByteArray* field :
         {&exif.ImageDescription, &exif.Make, &exif.Model, &exif.Orientation, &exif.Copyright, &exif.DateTime,
          &exif.DateTimeOriginal, &exif.DateTimeDigitized, &exif.UserComment})
        lines.append(DecodeExifText(*field));
    return lines;
}
