#include "fontengine/CaptionMeasurer.h"

#include "fontengine/ScriptSamples.h"

#include <algorithm>
#include <chrono>

namespace {

// A short run of the face's own characters, for faces that cover none of our samples.
constexpr int FirstCharactersSample = 6;
// How long the taking thread measures faces further on while a worker measures the face it
// needs: a few faces' worth.
constexpr std::chrono::microseconds HelpingTime{1000};

} // namespace

MeasuredCaption MeasureCaption(const FontFace* face, const QString& name) {
    MeasuredCaption measured;
    CaptionMetrics& info = measured.info;
    info.name = name;
    if (face) {
        info.caption = DefaultCaption(
            name, [face](char32_t c) { return face->HasCharacter(c); },
            [face] { return face->FirstCharacters(FirstCharactersSample); });
        measured.run = face->Shape(info.caption);
        info.unitsPerEm = face->UnitsPerEm();
        face->ReleaseMemory();
    } else {
        info.caption = name;
        measured.run = FontFace::AllMissing(name, info.unitsPerEm / 2.0);
    }
    info.advance = measured.run.advance;
    info.missing = measured.run.missing;
    return measured;
}

CaptionMeasurer::CaptionMeasurer(std::vector<Face> faces, int threads)
    : faces_(std::move(faces)), slots_(std::make_unique<Slot[]>(faces_.size())) {
    slotOf_.reserve(static_cast<qsizetype>(faces_.size()));
    for (qsizetype i = 0; i < static_cast<qsizetype>(faces_.size()); ++i) {
        FaceKey key{faces_[i].path, faces_[i].index};
        // A face listed twice is measured once, under its first name.
        if (slotOf_.contains(key))
            slots_[i].state.store(Taken, std::memory_order_relaxed);
        else
            slotOf_.insert(std::move(key), i);
    }
    const qsizetype count = std::min<qsizetype>(std::max(1, threads), faces_.size());
    workers_.reserve(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        workers_.emplace_back([this](std::stop_token stop) { work(std::move(stop)); });
}

CaptionMeasurer::~CaptionMeasurer() {
    Stop();
    workers_.clear();
}

void CaptionMeasurer::Stop() {
    stopped_ = true;
    for (std::jthread& worker : workers_)
        worker.request_stop();
}

void CaptionMeasurer::work(std::stop_token stop) {
    // The faces of a collection come one after another and share what has been read of it.
    const auto reader = std::make_shared<FontFileReader>();
    while (!stop.stop_requested() && measureNext(reader)) {
    }
}

bool CaptionMeasurer::measureNext(const std::shared_ptr<FontFileReader>& reader) {
    const auto count = static_cast<qsizetype>(faces_.size());
    for (;;) {
        const qsizetype i = next_.fetch_add(1, std::memory_order_relaxed);
        if (i >= count)
            return false;
        Slot& slot = slots_[i];
        int expected = Waiting;
        if (slot.state.compare_exchange_strong(expected, Measuring, std::memory_order_acquire)) {
            measure(i, reader);
            return true;
        }
    }
}

void CaptionMeasurer::measure(qsizetype i, const std::shared_ptr<FontFileReader>& reader) {
    Slot& slot = slots_[i];
    const Face& face = faces_[i];
    // The stamp is that of the version the face was read from: one look at the file fewer
    // than a stamp of its own, and never the stamp of a file rewritten since.
    if (const std::unique_ptr<FontFace> opened = FontFace::Open(face.path, face.index, reader)) {
        const FileStamp file{face.path, opened->Version().size, opened->Version().modifiedNs};
        slot.result = Result{file, MeasureCaption(opened.get(), face.name).info};
    }
    measured_.fetch_add(1, std::memory_order_relaxed);
    slot.state.store(Done, std::memory_order_release);
}

std::optional<CaptionMeasurer::Result> CaptionMeasurer::Take(const QString& path, int index,
                                                             const QString& name) {
    const auto found = slotOf_.constFind(FaceKey{path, index});
    if (found == slotOf_.cend())
        return std::nullopt;
    Slot& slot = slots_[*found];
    int state = slot.state.load(std::memory_order_acquire);
    // Not started: the caller's, and no worker's any more.
    if (state == Waiting &&
        slot.state.compare_exchange_strong(state, Taken, std::memory_order_acquire))
        return std::nullopt;
    // Being measured: that ends within one face, but a worker the system has put aside may
    // not finish it for a while, and this thread must not wait for it. The time is spent on
    // faces further on, as a worker would; when that is up, or there are none, the caller
    // measures this one itself, to the same figures.
    const auto giveUpAt = std::chrono::steady_clock::now() + HelpingTime;
    while (state == Measuring) {
        if (stopped_ || std::chrono::steady_clock::now() >= giveUpAt || !measureNext(takerReader_))
            return std::nullopt;
        state = slot.state.load(std::memory_order_acquire);
    }
    if (state != Done)
        return std::nullopt;
    slot.state.store(Taken, std::memory_order_relaxed);
    if (!slot.result || faces_[*found].name != name)
        return std::nullopt;
    return std::move(slot.result);
}
