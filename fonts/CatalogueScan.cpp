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
                CaptionMetricsCache faces(cachePath);
                std::vector<platform::FontFamilyRecord> families = source();
                ReadCharacterSets(families, &faces);
                promise.set_value(Result{std::move(families), std::move(faces)});
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

void CatalogueScan::ReadCharacterSets(std::vector<platform::FontFamilyRecord>& families,
                                      CaptionMetricsCache* cache) {
    FontFileReader reader;
    for (platform::FontFamilyRecord& family : families) {
        if (!family.CharSetFromLanguages || family.FontType != platform::TRUETYPE_FONTTYPE ||
            family.FilePath.isEmpty())
            continue;
        const std::optional<FileStamp> stamp = FileStamp::Of(family.FilePath);
        if (!stamp)
            continue;
        std::optional<std::optional<quint32>> codePages;
        if (cache)
            codePages = cache->FindCodePages(*stamp, family.FaceIndex);
        if (!codePages) {
            // emplace: assigning an empty optional would empty the outer one too.
            codePages.emplace(codepages::ReadRange1(reader, family.FilePath, family.FaceIndex));
            // A file that changed while it was read is read again at the next start.
            if (cache && FileStamp::Of(family.FilePath) == stamp)
                cache->StoreCodePages(*stamp, family.FaceIndex, *codePages);
        }
        if (*codePages)
            family.CharSet = (**codePages & codepages::Japanese) ? platform::SHIFTJIS_CHARSET
                                                                 : platform::ANSI_CHARSET;
    }
}
