// Tests of the pixel buffer allocator: layout of small and huge-page buffers, and the size guard.
#include "Pixels.h"
#include "Codecs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PixelsTest, BuffersHavePaddedRowsAndAreWritable) {
    for (const auto advice :
         {Pixels::PageAdvice::Default, Pixels::PageAdvice::HugePages, Pixels::PageAdvice::NormalPages}) {
        for (const QSize size : {QSize(5, 3), QSize(3001, 2000)}) {
            QImage image = Pixels::NewBitmap(size.width(), size.height(), advice);
            ASSERT_EQ(image.format(), QImage::Format_BGR888);
            EXPECT_EQ(image.size(), size);
            EXPECT_EQ(image.bytesPerLine(), (size.width() * 3 + 3) / 4 * 4);
            std::memset(image.bits(), 0x5A, size_t(image.sizeInBytes()));
            EXPECT_EQ(image.pixelColor(size.width() - 1, size.height() - 1), QColor(0x5A, 0x5A, 0x5A));
            QImage copy = image; // shared until written, then detached
            copy.setPixelColor(0, 0, Qt::red);
            EXPECT_EQ(image.pixelColor(0, 0), QColor(0x5A, 0x5A, 0x5A));
        }
    }
}

TEST(PixelsTest, SizesOutsideTheGuardAreRefused) {
    for (const auto& [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 5}, {20000, 12501}}) {
        try {
            Pixels::NewBitmap(w, h);
            ADD_FAILURE() << w << " x " << h;
        } catch (const Codecs::CodecError& e) {
            EXPECT_EQ(e.Code(), Codecs::kErrorTooLarge);
        }
    }
    EXPECT_NO_THROW(Pixels::CheckSize(20000, 12500));
}

} // namespace
