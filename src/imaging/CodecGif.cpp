// GIF through giflib: the first frame on a white logical screen; writing 8 bits with a palette
// that libimagequant builds from a sample and Floyd-Steinberg dithering over a cached lookup.
#include "CodecInternal.h"
#include "Pixels.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Codecs::Detail {
namespace {

struct Reader {
    const QByteArray* bytes;
    qsizetype pos = 0;
};

int ReadFunc(GifFileType* gif, GifByteType* buffer, int size) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(size, r->bytes->size() - r->pos);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, r->bytes->constData() + r->pos, size_t(n));
    r->pos += n;
    return int(n);
}

int WriteFunc(GifFileType* gif, const GifByteType* buffer, int size) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(buffer), size);
    return size;
}

[[noreturn]] void GifFail(int code, int gifError) {
    const char* text = GifErrorString(gifError);
    Fail(code, QStringLiteral("Corrupt GIF file: %1").arg(QString::fromUtf8(text ? text : "bad data")));
}

struct GifCloser {
    GifFileType* gif;
    ~GifCloser() {
        int error = 0;
        if (gif)
            DGifCloseFile(gif, &error);
    }
};

} // namespace

LoadedPicture DecodeGif(const QByteArray& bytes) {
    Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFunc, &error);
    if (!gif)
        GifFail(kErrorCorrupt, error);
    GifCloser closer{gif};
    int screenW = gif->SWidth, screenH = gif->SHeight;
    int transparent = -1;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            GifFail(kErrorCorrupt, gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            Fail(kErrorCorrupt, QStringLiteral("Corrupt GIF file: no picture"));
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR)
                GifFail(kErrorCorrupt, gif->Error);
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4 && (ext[1] & 1))
                transparent = ext[4];
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    GifFail(kErrorCorrupt, gif->Error);
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            GifFail(kErrorCorrupt, gif->Error);
        const GifImageDesc& desc = gif->Image;
        // Some writers leave the logical screen empty; the frame then gives the size.
        if (screenW <= 0 || screenH <= 0) {
            screenW = desc.Left + desc.Width;
            screenH = desc.Top + desc.Height;
        }
        Pixels::CheckSize(screenW, screenH);
        Pixels::CheckSize(desc.Width, desc.Height);
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map)
            Fail(kErrorCorrupt, QStringLiteral("Corrupt GIF file: no colour table"));
        QImage image = Pixels::NewBitmap(screenW, screenH);
        for (int y = 0; y < screenH; ++y)
            std::memset(image.scanLine(y), 255, size_t(screenW) * 3);
        std::vector<GifPixelType> line(size_t(desc.Width));
        // Interlaced frames store rows in four passes: every 8th from 0, every 8th from 4, ...
        static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
        const int passes = desc.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
            for (int row = start; row < desc.Height; row += step) {
                if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
                    GifFail(kErrorCorrupt, gif->Error);
                const int y = desc.Top + row;
                if (y < 0 || y >= screenH)
                    continue;
                unsigned char* dst = image.scanLine(y);
                for (int x = 0; x < desc.Width; ++x) {
                    const int sx = desc.Left + x;
                    const int index = line[size_t(x)];
                    if (sx >= screenW || index == transparent || index >= map->ColorCount)
                        continue;
                    const GifColorType& c = map->Colors[index];
                    dst[3 * sx] = c.Blue;
                    dst[3 * sx + 1] = c.Green;
                    dst[3 * sx + 2] = c.Red;
                }
            }
        }
        LoadedPicture result;
        result.image = image;
        result.info.width = screenW;
        result.info.height = screenH;
        result.info.bits = map->BitsPerPixel;
        result.info.format = kFormatGif;
        result.info.compression = QStringLiteral("LZW");
        return result;
    }
}

QByteArray EncodeGif(const QImage& source) {
    const QImage image =
        source.format() == QImage::Format_BGR888 ? source : source.convertToFormat(QImage::Format_BGR888);
    const int width = image.width(), height = image.height();
    if (width > 65535 || height > 65535)
        Fail(kErrorUnsupported, QStringLiteral("A GIF picture is at most 65535 pixels wide and high"));

    // The palette comes from a sample of about a quarter megapixel: quantising every pixel of a
    // camera picture costs seconds and hardly changes the palette.
    const qint64 pixels = qint64(width) * height;
    const int step = std::max(1, int(std::ceil(std::sqrt(double(pixels) / 262144.0))));
    const int sampleW = (width + step - 1) / step, sampleH = (height + step - 1) / step;
    std::vector<unsigned char> sample(size_t(sampleW) * sampleH * 4);
    for (int sy = 0; sy < sampleH; ++sy) {
        const unsigned char* src = image.constScanLine(sy * step);
        unsigned char* dst = sample.data() + size_t(sy) * sampleW * 4;
        for (int sx = 0; sx < sampleW; ++sx, dst += 4) {
            const unsigned char* p = src + size_t(sx) * step * 3;
            dst[0] = p[2];
            dst[1] = p[1];
            dst[2] = p[0];
            dst[3] = 255;
        }
    }
    liq_attr* attr = liq_attr_create();
    liq_set_max_colors(attr, 256);
    liq_set_speed(attr, 4);
    liq_image* liqImage = liq_image_create_rgba(attr, sample.data(), sampleW, sampleH, 0);
    liq_result* quant = nullptr;
    if (!liqImage || liq_image_quantize(liqImage, attr, &quant) != LIQ_OK) {
        if (liqImage)
            liq_image_destroy(liqImage);
        liq_attr_destroy(attr);
        Fail(kErrorFileWrite, QStringLiteral("Cannot build the GIF palette"));
    }
    const liq_palette* palette = liq_get_palette(quant);
    const int colours = std::max(1, int(palette->count));
    std::vector<int> pr(static_cast<size_t>(colours)), pg(pr), pb(pr);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) {
        const liq_color c = i < int(palette->count) ? palette->entries[i] : liq_color{0, 0, 0, 255};
        map->Colors[i] = GifColorType{c.r, c.g, c.b};
        if (i < colours) {
            pr[size_t(i)] = c.r;
            pg[size_t(i)] = c.g;
            pb[size_t(i)] = c.b;
        }
    }
    liq_result_destroy(quant);
    liq_image_destroy(liqImage);
    liq_attr_destroy(attr);

    // Nearest palette entry per colour cell of 6 bits a channel, found once and then cached.
    std::vector<int16_t> cache(size_t(1) << 18, -1);
    auto nearest = [&](int r, int g, int b) {
        const int key = ((r >> 2) << 12) | ((g >> 2) << 6) | (b >> 2);
        int16_t& slot = cache[size_t(key)];
        if (slot < 0) {
            const int cr = (r & ~3) + 2, cg = (g & ~3) + 2, cb = (b & ~3) + 2;
            int best = 0, bestDistance = INT32_MAX;
            for (int i = 0; i < colours; ++i) {
                const int dr = pr[size_t(i)] - cr, dg = pg[size_t(i)] - cg, db = pb[size_t(i)] - cb;
                const int d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            slot = int16_t(best);
        }
        return int(slot);
    };

    // Floyd-Steinberg in serpentine order; errors in 1/16 steps, two rows of them.
    std::vector<int> errorRows(size_t(width + 2) * 3 * 2, 0);
    int* current = errorRows.data();
    int* next = errorRows.data() + size_t(width + 2) * 3;
    std::vector<GifPixelType> indices(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = image.constScanLine(y);
        GifPixelType* out = indices.data() + size_t(y) * width;
        const bool leftToRight = (y & 1) == 0;
        std::fill(next, next + size_t(width + 2) * 3, 0);
        for (int i = 0; i < width; ++i) {
            const int x = leftToRight ? i : width - 1 - i;
            const int dir = leftToRight ? 1 : -1;
            int* e = current + size_t(x + 1) * 3;
            const int r = std::clamp(src[3 * x + 2] + (e[0] + 8) / 16, 0, 255);
            const int g = std::clamp(src[3 * x + 1] + (e[1] + 8) / 16, 0, 255);
            const int b = std::clamp(src[3 * x] + (e[2] + 8) / 16, 0, 255);
            const int index = nearest(r, g, b);
            out[x] = GifPixelType(index);
            const int er = r - pr[size_t(index)], eg = g - pg[size_t(index)], eb = b - pb[size_t(index)];
            int* ahead = current + size_t(x + 1 + dir) * 3;
            int* below = next + size_t(x + 1) * 3;
            int* belowAhead = next + size_t(x + 1 + dir) * 3;
            int* belowBehind = next + size_t(x + 1 - dir) * 3;
            const int err[3] = {er, eg, eb};
            for (int c = 0; c < 3; ++c) {
                ahead[c] += err[c] * 7;
                belowBehind[c] += err[c] * 3;
                below[c] += err[c] * 5;
                belowAhead[c] += err[c];
            }
        }
        std::swap(current, next);
    }

    QByteArray data;
    int error = 0;
    GifFileType* gif = EGifOpen(&data, WriteFunc, &error);
    if (!gif) {
        GifFreeMapObject(map);
        Fail(kErrorFileWrite, QStringLiteral("Cannot start the GIF encoder"));
    }
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_ERROR;
    for (int y = 0; ok && y < height; ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * width, width) != GIF_ERROR;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        ok = false;
    if (!ok)
        Fail(kErrorFileWrite, QStringLiteral("GIF encoding failed"));
    return data;
}

} // namespace Codecs::Detail
