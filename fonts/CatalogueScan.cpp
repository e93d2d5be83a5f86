#include "fonts/CatalogueScan.h"

#include "fontengine/CodePages.h"
#include "fontengine/FontFileReader.h"

#include <chrono>

CatalogueScan::CatalogueScan(Source source, const QString& cachePath) {
    // A thread of our own rather than std::async, whose future would wait for a reading that
    // never ends (a font file that is a FIFO) when the program wants to end.
    std::promise<Result> promise;
    result_ = promise.get_future();
    worker_ = std::thread(
        [promise = std::move(promise), source = std::move(source), cachePath]() mutable {
            try {
                promise.set_value(Result{source(), CaptionMetricsCache(cachePath)});
            } catch (...) {
                promise.set_exception(std::current_exception());
            }
        });
}

CatalogueScan::~CatalogueScan() {
    if (worker_.joinable())
        worker_.join();
}

bool CatalogueScan::WaitUntilRead(const std::function<bool()>& giveUp) {
    using namespace std::chrono_literals;
    while (result_.wait_for(50ms) != std::future_status::ready) {
        if (giveUp()) {
            worker_.detach();
            return false;
        }
    }
    return true;
}

CatalogueScan::Result CatalogueScan::Take() {
    Result result = result_.get();
    worker_.join();
    return result;
}

void CatalogueScan::ReadCharacterSets(std::vector<platform::FontFamilyRecord>& families) {
    FontFileReader reader;
    for (platform::FontFamilyRecord& family : families) {
        if (family.FontType != platform::TRUETYPE_FONTTYPE || family.FilePath.isEmpty())
            continue;
        const std::optional<quint32> codePages =
            codepages::ReadRange1(reader, family.FilePath, family.FaceIndex);
        if (codePages)
            family.CharSet = (*codePages & codepages::Japanese) ? platform::SHIFTJIS_CHARSET
                                                                : platform::ANSI_CHARSET;
    }
}
