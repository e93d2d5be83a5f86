#pragma once

#include "fonts/FontPool.h"
#include "ui/Glyphorama.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

// A main window on the offscreen platform over a fresh data folder and a known set of font
// families. The version check is off unless a test writes its own settings.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static QString DataDir();
    static QString SettingsPath();

    // Replaces the settings file; the version check is switched off below the given text.
    static void WriteSettings(const QByteArray& text, bool versionCheckOff = true);
    static QByteArray SettingsText();
    // The file's non-empty lines, as the program wrote them.
    static QStringList SettingsLines();

    // Families named "Family 0000", "Family 0001", ..., all Western.
    static void UseFamilies(int count);

    // Creates and shows the window; waits for its first build to end unless told not to.
    TGlyphorama& OpenWindow(bool waitForBuild = true);
    bool WaitForBuild();
    // Presses and releases the key where the keyboard is: the focused widget of the window.
    void PressKey(int key);
    // Answers the next modal message box with OK once it is shown, and records its text.
    void AnswerNextMessageBox();

    // Tiles now shown, in view order.
    int TileCount() const;

    std::unique_ptr<TGlyphorama> window;
    QStringList errors;       // shown by the application's error handler
    QStringList messageBoxes; // "objectName: text" of each box answered
    std::function<std::vector<platform::FontFamilyRecord>()> savedFontSource;
};
