// Shared helpers of the codec modules: the error helper and one decoder/encoder pair per format.
#pragma once

#include "Codecs.h"

namespace Codecs::Detail {

[[noreturn]] void Fail(int code, const QString& message);

LoadedPicture DecodeJpeg(const QByteArray& bytes, QSize minSize);
LoadedPicture DecodeTiff(const QByteArray& bytes);
LoadedPicture DecodeGif(const QByteArray& bytes);
LoadedPicture DecodeBmp(const QByteArray& bytes);

QByteArray EncodeJpeg(const QImage& image, int quality);
QByteArray EncodeTiff(const QImage& image);
QByteArray EncodeGif(const QImage& image);
QByteArray EncodeBmp(const QImage& image);

} // namespace Codecs::Detail
