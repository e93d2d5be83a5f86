#pragma once

#include "TestSupport.h"

#include <QString>

struct _FcConfig;

namespace testing_support {

// A fontconfig configuration of a test's own over a temporary folder of font files, apart
// from the process's current one: files can be damaged after fontconfig has read them.
class TestFontFolder {
public:
    TestFontFolder();
    ~TestFontFolder();
    TestFontFolder(const TestFontFolder&) = delete;
    TestFontFolder& operator=(const TestFontFolder&) = delete;

    // Copies a font file into the folder under the name given.
    void Add(const QString& source, const QString& name);
    // Reads the folder; call after adding the files.
    _FcConfig* Config();
    QString File(const QString& name) const { return fonts_.file(name); }

private:
    TempFolder fonts_;
    TempFolder setup_;
    _FcConfig* config_ = nullptr;
};

} // namespace testing_support
