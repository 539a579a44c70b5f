// Reduced decodes of a list of pictures, made ahead on worker threads and handed out in order.
// Opening a series uses it so that the next thumbnails are decoded while the current entry is
// listed; the files written and the list built stay those of a loop that decodes one at a time.
#pragma once

#include "Codecs.h"

#include <QSize>
#include <QStringList>

#include <deque>
#include <future>
#include <optional>

class TReducedDecoder {
public:
    // minSize: the size each decode must still cover; lookAhead: decodes kept in flight.
    TReducedDecoder(const QStringList& files, QSize minSize, int lookAhead);
    // Waits for the decodes still running.
    ~TReducedDecoder();
    TReducedDecoder(const TReducedDecoder&) = delete;
    TReducedDecoder& operator=(const TReducedDecoder&) = delete;

    // The decode of the next file, in the order given; empty when the file could not be read.
    std::optional<Codecs::LoadedPicture> TakeNext();

private:
    void StartMore();

    QStringList files;
    QSize minSize;
    int lookAhead;
    int started = 0;
    std::deque<std::future<std::optional<Codecs::LoadedPicture>>> running;
};
