// The installed content of the program folder (example pictures, the dialogs' side pictures, the
// main window's banner) and folders of camera-sized pictures for the benchmarks, all painted by
// the scenes library and written through the program's own codecs.
#pragma once

#include "Scenes.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

namespace Content {

// The invented camera named in the example picture's EXIF data.
inline constexpr char kCameraMake[] = "Orvanis Kamerawerk";
inline constexpr char kCameraModel[] = "Orvanis PX-40";
inline constexpr char kCameraPicture[] = "Kamerabild.jpg";
inline constexpr char kRedEyePicture[] = "Rote_Augen.jpg";
inline constexpr char kBanner[] = "banner.png";

// The dialogs' pictures in recom/, with their sizes.
struct RecomPicture {
    const char* Name;
    QSize Size;
};
QList<RecomPicture> RecomPictures();

// The red-eye example as painted, so its pupils can be found again in the written file.
Scenes::Portrait RedEyeExample();

// A JPEG APP1 segment (marker included) with camera-style EXIF data: little-endian TIFF data,
// IFD0 with twelve entries right after the header, an Exif sub-directory with twenty-four.
QByteArray CameraExifSegment(QSize pixelSize);

// The JPEG file with the segment placed where camera readers look for it: right after SOI, or right
// after a standard 18-byte JFIF APP0 segment when the file starts with one.
QByteArray InsertExif(const QByteArray& jpeg, const QByteArray& segment);

// Writes Beispiele/, recom/ and the banner into dir (created when missing). Raises
// Codecs::CodecError or std::runtime_error on failure.
void WriteContent(const QString& dir);

// Writes count photo-like JPEG files IMG_0001.jpg ... of the given size into dir, each from its own
// seed, spread over the machine's cores.
void WritePhotos(const QString& dir, int count, QSize size);

} // namespace Content
