// Entry point of every test executable: a real QApplication on the offscreen platform, with
// the tests' own font configuration.
#include "platform/Application.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("FONTCONFIG_FILE", GLYPHORAMA_TEST_FONTCONFIG);
    // A home of our own, so that nothing a test writes reaches the user's documents.
    static QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DOCUMENTS_DIR");
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CACHE_HOME");
    ::testing::InitGoogleTest(&argc, argv);
    platform::Application app(argc, argv);
    app.Title = QStringLiteral("Glyphorama2");
    return RUN_ALL_TESTS();
}
