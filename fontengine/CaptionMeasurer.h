#pragma once

#include "fontengine/CaptionMetricsCache.h"
#include "fontengine/FaceKey.h"
#include "fontengine/FontFace.h"
#include "fontengine/FontFileReader.h"

#include <QHash>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

// A face's default caption, as a tile shows it with no sample text, and the glyphs it was
// measured with. face may be none (the file cannot be read): the name is then all missing
// marks.
struct MeasuredCaption {
    CaptionMetrics info;
    GlyphRun run;
};
MeasuredCaption MeasureCaption(const FontFace* face, const QString& name);

// Measures the default captions of many faces on worker threads, ahead of the tiles that show
// them: a first start, with no cache of earlier runs, has thousands of font files to read,
// and one core alone keeps the window busy for a second or more. The workers take the faces
// in their order, each with a reader of its own (FontFileReader is not shared between
// threads); the thread that builds the tiles takes each face's figures as it reaches it,
// measures a face no worker has started yet itself, and rather than wait for one a worker is
// measuring measures the next ones for the workers, or in the end that one itself. Either way a
// face gives the same figures: the order and the values are those of measuring them one after
// another.
class CaptionMeasurer {
public:
    struct Face {
        QString path;
        int index = 0;
        QString name;
    };
    // What a worker measured, and the file as it was then.
    struct Result {
        FileStamp file;
        CaptionMetrics info;
    };

    // Starts measuring faces on at most threads workers (at least one).
    CaptionMeasurer(std::vector<Face> faces, int threads);
    // Stops the workers after the faces they are measuring and waits for them.
    ~CaptionMeasurer();
    CaptionMeasurer(const CaptionMeasurer&) = delete;
    CaptionMeasurer& operator=(const CaptionMeasurer&) = delete;

    // The face's figures when a worker has measured them under that name from a readable
    // file; while a worker is measuring it, measures faces further on for a moment. None
    // otherwise: the caller measures it (no worker starts on it any more). Never waits for a
    // worker. Once per face; from one thread at a time.
    std::optional<Result> Take(const QString& path, int index, const QString& name);
    // Asks the workers to stop after the faces they are measuring; does not wait.
    void Stop();
    // How many faces the workers have measured, for tests and the benchmark.
    int Measured() const { return measured_.load(std::memory_order_relaxed); }

private:
    enum State : int { Waiting, Measuring, Done, Taken };
    struct Slot {
        std::atomic<int> state{Waiting};
        // Written by the worker that measures the face, before it publishes Done.
        std::optional<Result> result;
    };

    void work(std::stop_token stop);
    // Measures the next face no one has started; false when there is none.
    bool measureNext(const std::shared_ptr<FontFileReader>& reader);
    void measure(qsizetype i, const std::shared_ptr<FontFileReader>& reader);

    const std::vector<Face> faces_;
    // Filled before the workers start; only read while they run.
    QHash<FaceKey, qsizetype> slotOf_;
    std::unique_ptr<Slot[]> slots_;
    std::atomic<qsizetype> next_{0};
    std::atomic<int> measured_{0};
    // The taking thread's, for the faces it measures while it would wait.
    const std::shared_ptr<FontFileReader> takerReader_ = std::make_shared<FontFileReader>();
    bool stopped_ = false;
    // Last: destroyed, and so stopped and joined, before what they use.
    std::vector<std::jthread> workers_;
};
