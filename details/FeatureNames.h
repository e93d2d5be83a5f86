#pragma once

#include "fontengine/FontFace.h"

#include <QString>
#include <cstdint>

// A layout feature as a designer reads it: the face's own name for it where the face has one
// (stylistic sets), else the registered feature's name in the user's language, else its tag.
QString FeatureName(const FaceFeature& feature);
// The tag as its four letters ("liga").
QString FeatureTagText(uint32_t tag);
