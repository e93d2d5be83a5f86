#include "fonts/CatalogueScan.h"

CatalogueScan::CatalogueScan(Source source, const QString& cachePath)
    : result_(std::async(std::launch::async, [source = std::move(source), cachePath] {
          return Result{source(), CaptionMetricsCache(cachePath)};
      })) {}

CatalogueScan::~CatalogueScan() {
    if (result_.valid())
        result_.wait();
}

CatalogueScan::Result CatalogueScan::Take() {
    return result_.get();
}
