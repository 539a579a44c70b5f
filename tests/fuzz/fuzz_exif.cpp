// libFuzzer target for the EXIF reader: any bytes read from memory either give fields or a read error.
#include "Exif.h"
#include "PictureInfoText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    TExif exif;
    try {
        exif.ReadData(bytes);
    } catch (const EExifReadError&) {
        // Short data are an expected outcome; the fields read so far must still be usable.
    }
    const QStringList lines = ExifPanelLines(exif);
    if (lines.size() != 9 || lines[3].isEmpty())
        __builtin_trap();
    return 0;
}
