// Pixel buffers for 24-bit pictures. Large buffers are mapped with transparent huge pages, because
// the first touch of freshly allocated memory costs about as much as a whole filter pass otherwise.
#pragma once

#include <QImage>

namespace Pixels {

// A new, uninitialised 24-bit picture (Format_BGR888, rows padded to 4 bytes). Throws
// Codecs::CodecError (kErrorTooLarge or kErrorMemory) when the size is empty, above the
// 250-megapixel guard, or the memory cannot be had.
QImage NewBitmap(int width, int height);

// Throws Codecs::CodecError kErrorTooLarge unless width x height is a valid picture size.
void CheckSize(long long width, long long height);

} // namespace Pixels
