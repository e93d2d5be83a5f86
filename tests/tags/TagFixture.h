// A main window over synthetic font families and a fresh tags folder, for the tests of the
// tag store, the tag bar and the tag dialog.
#pragma once

#include "fonts/FontPool.h"
#include "ui/Glyphorama.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class QToolButton;
class TPanel;

namespace tag_test {

// The families every test sees: Western ones (shown by default) with the names tag files use.
inline const QString DejaVu = QStringLiteral("DejaVu Sans");
inline const QString Gothic = QStringLiteral("IPAGothic"); // also named "IPAゴシック"
inline const QString Hangul = QStringLiteral("나눔고딕");  // no CP932 code for it
inline const QString Serif = QStringLiteral("DejaVu Serif");

class TagTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window without showing it: the catalogue exists, no settings are read.
    void Create();
    // Creates the window with the user tags in its settings file, shows it, and waits until
    // the tiles are built.
    void Open(const QStringList& userTags = {});

    TFontPool& Pool() const { return *window->FontPool; }
    QString TagDir() const { return dataDir + QStringLiteral("/tags"); }
    QString TagPath(const QString& name) const;
    QByteArray TagBytes(const QString& name) const;
    void WriteTag(const QString& name, const QByteArray& bytes) const;
    QStringList Counts() const; // "name=count" of every entry, in list order

    // The bar's widgets, left to right, and their captions ("|" for a separator).
    QList<QWidget*> BarWidgets() const;
    QStringList BarCaptions() const;
    QToolButton* TagButtonOf(const QString& name) const;
    TPanel* TileOf(const QString& name) const;
    // Runs the posted work (removals, deferred deletions).
    static void Settle();

    QString dataDir;
    std::unique_ptr<TGlyphorama> window;
    QStringList errors; // shown by the application's error handler

private:
    std::function<std::vector<platform::FontFamilyRecord>()> savedSource_;
};

// Runs action once the next modal dialog (or popup menu) is open, then returns.
void WhenModalOpens(std::function<void(QWidget*)> action);

} // namespace tag_test
