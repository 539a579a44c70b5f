// libFuzzer target: arbitrary bytes through the picture decoders, at full size and reduced.
#include "Codecs.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QSize minSize : {QSize(), QSize(0, 70)}) {
        try {
            const Codecs::LoadedPicture picture = Codecs::DecodePicture(bytes, minSize);
            if (picture.image.format() != QImage::Format_BGR888)
                __builtin_trap();
        } catch (const Codecs::CodecError&) {
        }
    }
    return 0;
}
