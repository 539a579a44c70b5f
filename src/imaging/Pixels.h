// Pixel buffers for 24-bit pictures. Large buffers are mapped with transparent huge pages, because
// the first touch of freshly allocated memory costs about as much as a whole filter pass otherwise.
#pragma once

#include <QImage>

namespace Pixels {

// Whether a large buffer is advised to use huge pages; Default does so above a few megabytes.
// The choice exists so the benchmark can measure the first-touch cost both ways.
enum class PageAdvice { Default, HugePages, NormalPages };

// A new, uninitialised 24-bit picture (Format_BGR888, rows padded to 4 bytes). Throws
// Codecs::CodecError (kErrorTooLarge or kErrorMemory) when the size is empty, above the
// 250-megapixel guard, or the memory cannot be had. minBytes, when larger than the picture,
// reserves room for a decoder that first writes wider pixels into the same buffer.
QImage NewBitmap(int width, int height, PageAdvice advice = PageAdvice::Default, qsizetype minBytes = 0);

// Throws Codecs::CodecError kErrorTooLarge unless width x height is a valid picture size.
void CheckSize(long long width, long long height);

} // namespace Pixels
