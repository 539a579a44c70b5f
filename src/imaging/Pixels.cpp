// Pixel buffers: plain heap memory for small pictures, huge-page mappings for large ones.
#include "Pixels.h"

#include "Codecs.h"

#include <sys/mman.h>

#include <algorithm>

namespace Pixels {
namespace {

// Below this a buffer is cheap to fault in page by page; above it huge pages pay off.
constexpr qsizetype kHugePageThreshold = 4 * 1024 * 1024;
constexpr qsizetype kHugePageSize = 2 * 1024 * 1024;

struct Mapping {
    void* address;
    size_t length;
};

void Unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->address, mapping->length);
    delete mapping;
}

} // namespace

void CheckSize(long long width, long long height) {
    if (width <= 0 || height <= 0 || width > Codecs::kMaxPixels || height > Codecs::kMaxPixels ||
        width * height > Codecs::kMaxPixels)
        throw Codecs::CodecError(
            Codecs::kErrorTooLarge,
            QStringLiteral("Invalid picture size %1 x %2").arg(width).arg(height).toStdString());
}

QImage NewBitmap(int width, int height, PageAdvice advice, qsizetype minBytes) {
    CheckSize(width, height);
    const qsizetype bytesPerLine = (qsizetype(width) * 3 + 3) / 4 * 4;
    const qsizetype size = std::max(bytesPerLine * height, minBytes);
    if (size < kHugePageThreshold && minBytes <= bytesPerLine * height) {
        QImage image(width, height, QImage::Format_BGR888);
        if (image.isNull())
            throw Codecs::CodecError(Codecs::kErrorMemory, "Not enough memory");
        return image;
    }
    const size_t length = size_t((size + kHugePageSize - 1) / kHugePageSize * kHugePageSize);
    void* address = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        throw Codecs::CodecError(Codecs::kErrorMemory, "Not enough memory");
    if (advice != PageAdvice::NormalPages)
        madvise(address, length, MADV_HUGEPAGE);
    auto* mapping = new Mapping{address, length};
    QImage image(static_cast<uchar*>(address), width, height, bytesPerLine, QImage::Format_BGR888, Unmap,
                 mapping);
    if (image.isNull()) {
        Unmap(mapping);
        throw Codecs::CodecError(Codecs::kErrorMemory, "Not enough memory");
    }
    return image;
}

} // namespace Pixels
