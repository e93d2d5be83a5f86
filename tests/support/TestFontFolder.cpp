#include "TestFontFolder.h"

#include <QFile>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace testing_support {

TestFontFolder::TestFontFolder() = default;

TestFontFolder::~TestFontFolder() {
    if (config_)
        FcConfigDestroy(config_);
}

void TestFontFolder::Add(const QString& source, const QString& name) {
    EXPECT_TRUE(QFile::copy(source, fonts_.file(name))) << source.toStdString();
}

_FcConfig* TestFontFolder::Config() {
    if (config_)
        return config_;
    const QString conf = setup_.file(QStringLiteral("fonts.conf"));
    WriteBytes(conf, QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>%1</dir>\n"
                                    "<cachedir>%2</cachedir>\n</fontconfig>\n")
                         .arg(fonts_.path().toHtmlEscaped(),
                              setup_.file(QStringLiteral("cache")).toHtmlEscaped())
                         .toUtf8());
    config_ = FcConfigCreate();
    const QByteArray path = QFile::encodeName(conf);
    EXPECT_TRUE(
        FcConfigParseAndLoad(config_, reinterpret_cast<const FcChar8*>(path.data()), FcTrue));
    EXPECT_TRUE(FcConfigBuildFonts(config_));
    return config_;
}

} // namespace testing_support
