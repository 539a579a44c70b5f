#include "ReducedDecoder.h"

#include <new>

namespace {

std::optional<Codecs::LoadedPicture> DecodeReduced(const QString& file, QSize minSize) {
    // A picture that cannot be read gets no thumbnail; the caller ignores that, as it ignores
    // every thumbnail failure.
    try {
        return Codecs::ReadPicture(file, minSize);
    } catch (const Codecs::CodecError&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace

TReducedDecoder::TReducedDecoder(const QStringList& files, QSize minSize, int lookAhead)
    : files(files), minSize(minSize), lookAhead(std::max(1, lookAhead)) {
    StartMore();
}

TReducedDecoder::~TReducedDecoder() {
    for (auto& decode : running)
        decode.wait();
}

void TReducedDecoder::StartMore() {
    while (int(running.size()) < lookAhead && started < files.size()) {
        running.push_back(std::async(std::launch::async, DecodeReduced, files[started], minSize));
        ++started;
    }
}

std::optional<Codecs::LoadedPicture> TReducedDecoder::TakeNext() {
    if (running.empty())
        return std::nullopt;
    std::optional<Codecs::LoadedPicture> next = running.front().get();
    running.pop_front();
    StartMore();
    return next;
}
