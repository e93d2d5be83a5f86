// A main window over synthetic font families and a fresh tags folder.
#pragma once

#include "fonts/FontPool.h"
#include "ui/Glyphorama.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class QToolButton;

namespace tag_test {

inline const QString DejaVu = QStringLiteral("DejaVu Sans");
inline const QString Gothic = QStringLiteral("IPAGothic"); // also named "IPAゴシック"
inline const QString Hangul = QStringLiteral("나눔고딕");  // not in CP932
inline const QString Serif = QStringLiteral("DejaVu Serif");
// Spelled out: the catalogue's constants may not be made yet when these are.
inline const QString Trash = QStringLiteral("ゴミ箱");
inline const QString Favorites = QStringLiteral("お気に入り");

class TagTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The window, not shown: no settings read, no tags loaded.
    void Create();
    // The window shown with these user tags in its settings, its tiles built.
    void Open(const QStringList& userTags = {});

    TFontPool& Pool() const { return *window->FontPool; }
    QString TagPath(const QString& name) const;
    QByteArray TagBytes(const QString& name) const;
    void WriteTag(const QString& name, const QByteArray& bytes) const;
    QStringList Counts() const;      // "name=count" of each entry
    QStringList BarCaptions() const; // "|" for a separator
    QToolButton* TagButtonOf(const QString& name) const;
    TPanel* TileOf(const QString& name) const;
    static void Settle(); // runs posted events and deferred deletions

    QString tagDir;
    std::unique_ptr<TGlyphorama> window;
    QStringList errors; // what the application's error handler would show

private:
    std::function<std::vector<platform::FontFamilyRecord>()> savedSource_;
};

// Runs the action on the next popup menu or modal dialog once it is open.
void WhenModalOpens(std::function<void(QWidget*)> action);

} // namespace tag_test
