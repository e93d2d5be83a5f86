#pragma once

#include "fonts/FontUnit.h"

#include <functional>
#include <vector>

// The units of the sample view, in view order; none once the catalogue is gone.
using ViewUnits = std::function<const std::vector<TFontUnit*>*()>;

// The unit of the view whose tile (or the name label in it) is this panel, or none.
TFontUnit* UnitOfTile(const std::vector<TFontUnit*>& view, const TPanel* tile);
