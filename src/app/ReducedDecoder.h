// Decodes of a list of pictures, made ahead on worker threads and handed out by name.
// Opening a series uses it so that the thumbnails' decodes run while the files are copied and
// while earlier entries are listed; the files written and the list built stay those of a loop
// that decodes one picture at a time.
#pragma once

#include "Codecs.h"

#include <QSize>
#include <QString>

#include <QImage>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A decode made by a worker, with what the job's finishing step made of it.
struct TPreparedPicture {
    Codecs::LoadedPicture picture;
    QImage made;
};

class TReducedDecoder {
public:
    struct Job {
        QString name;  // what the caller asks for
        QString path;  // the file holding the same bytes
        QSize minSize; // the size the decode must still cover; invalid for the full picture
        // Work on the decode that the worker does too, such as making its thumbnail.
        std::function<QImage(const Codecs::LoadedPicture&)> finish;
    };

    // jobs: in the order they will be asked for.
    explicit TReducedDecoder(std::vector<Job> jobs);
    // Stops the workers after the decodes they are running.
    ~TReducedDecoder();
    TReducedDecoder(const TReducedDecoder&) = delete;
    TReducedDecoder& operator=(const TReducedDecoder&) = delete;

    // The decode of a job by name, waiting for it if needed; jobs before it that were not asked
    // for are dropped. Empty when there is no such job or its file could not be read.
    std::optional<TPreparedPicture> Take(const QString& name);

private:
    struct Slot {
        Job job;
        std::optional<TPreparedPicture> result;
        bool done = false;
    };

    void Work();

    // Decodes finished but not yet taken, at most: bounds the memory of a large series.
    static constexpr size_t kMaxAhead = 8;

    std::vector<Slot> queue;
    size_t nextToStart = 0;
    size_t nextToTake = 0;
    bool stopping = false;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::thread> workers;
};
