// Tiles drawn from their family's own face: coverage, widths, painting, the face store and the
// default caption, against the tests' own fonts (DejaVu has no kana, IPA has).
#include "fontengine/OpenFaceCache.h"
#include "fontengine/Pixels.h"
#include "fontengine/ScriptSamples.h"
#include "fontengine/TileTextFactory.h"
#include "fonts/FirstPaintBudget.h"
#include "fonts/Panel.h"
#include "platform/FontFamilies.h"

#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QWidget>
#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Points to pixels at the resolution the tests give the sampler.
constexpr double ScreenDpi = 96;
constexpr double Pixels16 = 16 * ScreenDpi / 72; // 21.33

const platform::FontFamilyRecord& Installed(const char* name) {
    static const auto records = platform::EnumerateFontFamilies(QStringLiteral("en"));
    for (const auto& record : records)
        if (record.FaceName == QLatin1String(name))
            return record;
    ADD_FAILURE() << name << " is not in the tests' font set";
    static const platform::FontFamilyRecord none;
    return none;
}

std::unique_ptr<TileText> Make(TileTextFactory& sampler, const char* family, const QString& text,
                               int pointSize = 16) {
    const auto& record = Installed(family);
    return sampler.Make(record.FilePath, record.FaceIndex, record.FaceName, text, pointSize);
}

// The tile as painted: black text on white, missing marks in red (a colour that no edge of
// a black glyph on white can have).
QImage Painted(const TileText& sample) {
    QImage image(sample.Width() + 20, 82, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    sample.Paint(painter, image.rect(), Qt::black, Qt::red);
    return image;
}

struct Inks {
    int dark = 0;  // glyph pixels
    int marks = 0; // the missing marks' red
    int other = 0;
};

// The tiny font of the tests' own with "A" and "あ".
QByteArray MarkupFontBytes() {
    return testing_support::ReadBytes(
        QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fonts/data/markup-names.ttf"));
}

// Where the table of the tag starts in a single font's bytes (its table directory at 0).
quint32 TableOffset(const QByteArray& font, const char* tag) {
    const auto* bytes = reinterpret_cast<const uchar*>(font.constData());
    for (int i = 0; i < qFromBigEndian<quint16>(bytes + 4); ++i)
        if (font.mid(12 + 16 * i, 4) == tag)
            return qFromBigEndian<quint32>(bytes + 12 + 16 * i + 8);
    ADD_FAILURE() << "no " << tag << " table";
    return 0;
}

// A legal font about as wide as a font can be: every advance 32,767 units in an em of 16
// (HarfBuzz reads larger advances as negative).
QByteArray WithHugeAdvances(QByteArray font) {
    auto* bytes = reinterpret_cast<uchar*>(font.data());
    qToBigEndian<quint16>(16, bytes + TableOffset(font, "head") + 18);
    const int metrics = qFromBigEndian<quint16>(bytes + TableOffset(font, "hhea") + 34);
    for (int i = 0; i < metrics; ++i)
        qToBigEndian<quint16>(0x7FFF, bytes + TableOffset(font, "hmtx") + 4 * i);
    return font;
}

// A collection of the given number of faces, all of them the one font: a header whose every
// entry points at the same table directory, which follows it.
QByteArray Collection(const QByteArray& font, int faces) {
    const quint32 header = 12 + 4 * faces;
    QByteArray tables = font;
    auto* bytes = reinterpret_cast<uchar*>(tables.data());
    for (int i = 0; i < qFromBigEndian<quint16>(bytes + 4); ++i) {
        uchar* offset = bytes + 12 + 16 * i + 8;
        qToBigEndian<quint32>(qFromBigEndian<quint32>(offset) + header, offset);
    }
    QByteArray collection("ttcf\0\1\0\0", 8);
    collection.resize(header);
    auto* entries = reinterpret_cast<uchar*>(collection.data());
    qToBigEndian<quint32>(faces, entries + 8);
    for (int i = 0; i < faces; ++i)
        qToBigEndian<quint32>(header, entries + 12 + 4 * i);
    return collection + tables;
}

int MappingCount() {
    return static_cast<int>(
        testing_support::ReadBytes(QStringLiteral("/proc/self/maps")).count('\n'));
}

qint64 ResidentKiB() {
    for (const QByteArray& line :
         testing_support::ReadBytes(QStringLiteral("/proc/self/status")).split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

Inks CountInks(const QImage& image) {
    Inks inks;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            if (pixel == 0xFFFFFF)
                continue;
            if (pixel == 0xFF0000)
                ++inks.marks;
            else if (qGray(pixel) < 0x60)
                ++inks.dark;
            else
                ++inks.other;
        }
    return inks;
}

} // namespace

TEST(FontFace, MissingCharactersAreCountedPerCodePoint) {
    const auto sans = FontFace::Open(Installed("DejaVu Sans").FilePath, 0);
    const auto gothic = FontFace::Open(Installed("IPAGothic").FilePath, 0);
    ASSERT_TRUE(sans && gothic);

    const QString kana = QStringLiteral("あいう永");
    EXPECT_EQ(sans->Shape(kana).missing, 4);
    EXPECT_EQ(gothic->Shape(kana).missing, 0);
    EXPECT_EQ(sans->Shape(QStringLiteral("Aあ B")).missing, 1);
    EXPECT_EQ(gothic->Shape(QStringLiteral("Hello")).missing, 0);
    // A character beyond the first plane is two UTF-16 units but one character.
    EXPECT_EQ(sans->Shape(QString::fromUcs4(U"a\U00020B9Fb")).missing, 1);
    EXPECT_EQ(sans->Shape(QString()).missing, 0);

    // What was let go of is made again when needed: the same answers after a release, with
    // the outline of a new glyph built from a shaper made afresh.
    const GlyphRun before = gothic->Shape(QStringLiteral("永あA"));
    const QPainterPath outline = gothic->Outline(before.glyphs[0].id);
    gothic->ReleaseMemory();
    const GlyphRun after = gothic->Shape(QStringLiteral("永あA"));
    ASSERT_EQ(after.glyphs.size(), before.glyphs.size());
    EXPECT_EQ(after.advance, before.advance);
    EXPECT_EQ(after.glyphs[0].id, before.glyphs[0].id);
    EXPECT_FALSE(outline.isEmpty());
    gothic->ReleaseMemory();
    EXPECT_FALSE(gothic->Outline(before.glyphs[1].id).isEmpty());
    EXPECT_TRUE(gothic->HasCharacter(U'永'));
    EXPECT_FALSE(gothic->FirstCharacters(3).isEmpty());

    // Each missing character is a mark of half an em, never a glyph.
    const GlyphRun run = sans->Shape(kana);
    ASSERT_EQ(run.glyphs.size(), 4u);
    for (const auto& glyph : run.glyphs) {
        EXPECT_TRUE(glyph.missing);
        EXPECT_EQ(glyph.advance, sans->UnitsPerEm() / 2.0);
    }
}

TEST(FontFace, UnreadableFilesGiveNoFace) {
    testing_support::TempFolder folder;
    testing_support::WriteBytes(folder.file("not-a-font.ttf"), QByteArray(4096, 'x'));
    testing_support::WriteBytes(folder.file("empty.ttf"), QByteArray());
    EXPECT_EQ(FontFace::Open(folder.file("not-a-font.ttf"), 0), nullptr);
    EXPECT_EQ(FontFace::Open(folder.file("empty.ttf"), 0), nullptr);
    EXPECT_EQ(FontFace::Open(folder.file("absent.ttf"), 0), nullptr);
    EXPECT_EQ(FontFace::Open(QString(), 0), nullptr);
    // A single font holds no second face.
    EXPECT_EQ(FontFace::Open(Installed("DejaVu Sans").FilePath, 1), nullptr);
}

// A font file rewritten in place (cp truncates, then writes) while its face is open: the face
// read the file into memory, so nothing of the old file can be read past the new end. A use
// after the change shows missing marks while the file is no font, and the new file's glyphs
// once it is one again; what was drawn before is never mixed with the new file's glyphs.
TEST(FontFace, AFileRewrittenInPlaceIsReadAgainAndNeverCrashes) {
    testing_support::TempFolder folder;
    const QString path = folder.file(QStringLiteral("rewritten.ttf"));
    const QByteArray sans = testing_support::ReadBytes(Installed("DejaVu Sans").FilePath);
    testing_support::WriteBytes(path, sans);
    TileTextFactory sampler(QString(), ScreenDpi);
    const QString text = QStringLiteral("Aあ");
    const auto before = sampler.Make(path, 0, QStringLiteral("Rewritten"), text, 16);
    EXPECT_EQ(before->Missing(), 1);
    EXPECT_GT(CountInks(Painted(*before)).dark, 20);
    const auto face = FontFace::Open(path, 0);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->Shape(text).missing, 1);
    const uint32_t glyphA = face->Shape(QStringLiteral("A")).glyphs[0].id;
    face->ReleaseMemory();

    testing_support::WriteBytes(path, QByteArray());
    // A new size and a new text read the file as it is now: nothing.
    const auto truncated = sampler.Make(path, 0, QStringLiteral("Rewritten"), text + "B", 96);
    EXPECT_EQ(truncated->Missing(), 3);
    EXPECT_EQ(CountInks(Painted(*truncated)).dark, 0);
    const Inks repainted = CountInks(Painted(*before));
    EXPECT_EQ(repainted.dark, 0);
    EXPECT_GT(repainted.marks, 20);
    EXPECT_EQ(face->Shape(text).missing, 2);
    EXPECT_TRUE(face->Lost());
    EXPECT_TRUE(face->Outline(glyphA).isEmpty());

    // Cut in the middle, as a copy in progress leaves it: whatever it shows, it shows.
    testing_support::WriteBytes(path, sans.left(sans.size() / 2));
    Painted(*sampler.Make(path, 0, QStringLiteral("Rewritten"), text, 16));
    Painted(*before);

    // Another font now, one with "あ": its own glyphs, in the old tile too.
    const QByteArray markup = MarkupFontBytes();
    testing_support::WriteBytes(path, markup);
    EXPECT_EQ(sampler.Make(path, 0, QStringLiteral("Rewritten"), text, 16)->Missing(), 0);
    const Inks renewed = CountInks(Painted(*before));
    EXPECT_GT(renewed.dark, 20);
    EXPECT_EQ(renewed.marks, 0);
    // The face opened from the first file stays as it was lost: no glyph of the new file.
    EXPECT_EQ(face->Shape(text).missing, 2);

    // A legal font whose line is wider than an int holds at 96 pt: the width is capped
    // rather than overflowing (the tile then vanished). The padding keeps the size apart.
    testing_support::WriteBytes(path, WithHugeAdvances(markup) + QByteArray(4, '\0'));
    const auto wide = sampler.Make(path, 0, QStringLiteral("Rewritten"), QString(20000, u'A'), 96);
    EXPECT_EQ(wide->Missing(), 0);
    EXPECT_EQ(wide->Width(), MaxTextPixels);
    EXPECT_EQ(sampler.Make(path, 0, QStringLiteral("Rewritten"), QStringLiteral("AA"), 96)->Width(),
              2 * 32767 * 128 / 16);
}

TEST(TileTextFactory, WidthsFollowWhatIsDrawnAtTheGivenSize) {
    TileTextFactory sampler(QString(), ScreenDpi);
    // Kana are one em wide in IPA Gothic: 3 em at 21.33 pixels.
    EXPECT_EQ(Make(sampler, "IPAGothic", QStringLiteral("あいう"))->Width(), 64);
    // Four missing marks of half an em each in DejaVu Sans: 2 em, rounded up.
    EXPECT_EQ(Make(sampler, "DejaVu Sans", QStringLiteral("あいう永"))->Width(), 43);

    // Digits have no kerning: the width is the sum of the face's own advances, as another
    // reader of the same file sees them.
    const QString digits = QStringLiteral("0123456789");
    QRawFont raw(Installed("DejaVu Sans").FilePath, Pixels16, QFont::PreferNoHinting);
    ASSERT_TRUE(raw.isValid());
    double advance = 0;
    for (const QPointF& a : raw.advancesForGlyphIndexes(raw.glyphIndexesForString(digits)))
        advance += a.x();
    const int width = Make(sampler, "DejaVu Sans", digits)->Width();
    EXPECT_NEAR(width, advance, 1.0);
    EXPECT_GE(width, advance - 0.01); // never narrower than the ink's advance

    // The point size is a parameter: twice the size, twice the width.
    EXPECT_EQ(Make(sampler, "IPAGothic", QStringLiteral("あいう"), 32)->Width(), 128);
    EXPECT_EQ(Make(sampler, "IPAGothic", QStringLiteral("あいう"), 8)->Width(), 32);
}

TEST(TileTextFactory, MissingCharactersAreNeverDrawnFromAnotherFamily) {
    TileTextFactory sampler(QString(), ScreenDpi);
    const QString kana = QStringLiteral("あいう");

    const auto western = Make(sampler, "DejaVu Sans", kana);
    EXPECT_EQ(western->Missing(), 3);
    const Inks marks = CountInks(Painted(*western));
    EXPECT_EQ(marks.dark, 0) << "a glyph was drawn for a character DejaVu Sans lacks";
    EXPECT_EQ(marks.other, 0);
    EXPECT_GT(marks.marks, 3 * 20); // three outlined boxes
    ASSERT_NE(western->PaintedRun(), nullptr);
    for (const auto& glyph : western->PaintedRun()->glyphs)
        EXPECT_TRUE(glyph.missing);

    const auto japanese = Make(sampler, "IPAGothic", kana);
    EXPECT_EQ(japanese->Missing(), 0);
    const Inks glyphs = CountInks(Painted(*japanese));
    EXPECT_GT(glyphs.dark, 50);
    EXPECT_EQ(glyphs.marks, 0);

    // A mixed text: the Latin letters are drawn, the kana marked.
    const auto mixed = Make(sampler, "DejaVu Sans", QStringLiteral("Abあ"));
    EXPECT_EQ(mixed->Missing(), 1);
    const Inks both = CountInks(Painted(*mixed));
    EXPECT_GT(both.dark, 20);
    EXPECT_GT(both.marks, 20);
}

TEST(TileTextFactory, TheSampleIsCentredInItsTile) {
    TileTextFactory sampler(QString(), ScreenDpi);
    const QImage image = Painted(*Make(sampler, "DejaVu Sans", QStringLiteral("HH")));
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 0x80) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    // "H" has side bearings, so the ink sits a little inside the 10 pixels of padding.
    EXPECT_NEAR(left, image.width() - 1 - right, 2);
    EXPECT_GE(left, 10);
    // The line (ascent and descent) is centred; capitals sit above its middle.
    EXPECT_LT(top, 41);
    EXPECT_LT(bottom, 55);
    EXPECT_GT(bottom, 41);
}

TEST(TileTextFactory, AFileThatCannotBeReadShowsEveryCharacterMissing) {
    TileTextFactory sampler(QString(), ScreenDpi);
    const auto sample = sampler.Make(QStringLiteral("/nonexistent/font.ttf"), 0,
                                     QStringLiteral("Gone"), QString(), 16);
    EXPECT_EQ(sample->Text(), QStringLiteral("Gone"));
    EXPECT_EQ(sample->Missing(), 4);
    EXPECT_EQ(sample->Width(), 43); // four half-em marks
    const Inks inks = CountInks(Painted(*sample));
    EXPECT_EQ(inks.dark, 0);
    EXPECT_GT(inks.marks, 0);
}

TEST(OpenFaceCache, EachFaceIsOpenedOnceWhateverIsAskedOfIt) {
    TileTextFactory sampler(QString(), ScreenDpi);
    for (const QString& text : {QString(), QStringLiteral("Aa"), QStringLiteral("あ")})
        for (int size : {8, 16, 96}) {
            Painted(*Make(sampler, "DejaVu Sans", text, size));
            Painted(*Make(sampler, "IPAGothic", text, size));
        }
    EXPECT_EQ(sampler.Store().Loads(), 2);
    // Failures are remembered too.
    sampler.Make(QStringLiteral("/nonexistent.ttf"), 0, QStringLiteral("X"), QString(), 16);
    sampler.Make(QStringLiteral("/nonexistent.ttf"), 0, QStringLiteral("X"), QStringLiteral("Y"),
                 16);
    EXPECT_EQ(sampler.Store().Loads(), 3);
}

TEST(DefaultCaption, TheNameWhenCoveredElseASampleTheFaceHas) {
    const auto latin = [](char32_t c) { return c < 0x80; };
    const auto none = [] { return QString(); };
    EXPECT_EQ(DefaultCaption(QStringLiteral("Serif Pro"), latin, none),
              QStringLiteral("Serif Pro"));
    // A name the face cannot write: Latin comes first among the samples.
    EXPECT_EQ(DefaultCaption(QStringLiteral("游ゴシック"), latin, none),
              QStringLiteral("Aa Bb Cc"));

    // A Thai-only face (with a space) shows Thai.
    const auto thai = [](char32_t c) { return c == U' ' || (c >= 0x0E00 && c <= 0x0E7F); };
    EXPECT_EQ(DefaultCaption(QStringLiteral("Noto Sans Thai"), thai, none), QStringLiteral("กขคง"));
    // Nothing of ours fits: the face's own first characters, else the name after all.
    const auto symbols = [](char32_t c) { return c >= 0xF000 && c <= 0xF0FF; };
    EXPECT_EQ(DefaultCaption(QStringLiteral("Symbols"), symbols,
                             [] { return QStringLiteral("\uF021\uF022"); }),
              QStringLiteral("\uF021\uF022"));
    EXPECT_EQ(DefaultCaption(QStringLiteral("Symbols"), symbols, none), QStringLiteral("Symbols"));
}

TEST(DefaultCaption, RealFacesPickWhatTheyCover) {
    TileTextFactory sampler(QString(), ScreenDpi);
    const auto& sans = Installed("DejaVu Sans");
    // DejaVu Sans under a Japanese name: a Latin sample instead of a row of marks.
    const auto renamed =
        sampler.Make(sans.FilePath, sans.FaceIndex, QStringLiteral("デジャヴ"), QString(), 16);
    EXPECT_EQ(renamed->Text(), QStringLiteral("Aa Bb Cc"));
    EXPECT_EQ(renamed->Missing(), 0);
    // IPA Gothic under its Japanese name writes it.
    const auto& gothic = Installed("IPAGothic");
    EXPECT_EQ(
        sampler.Make(gothic.FilePath, 0, QStringLiteral("IPAゴシック"), QString(), 16)->Text(),
        QStringLiteral("IPAゴシック"));
}

// While a build runs, new tiles paint their text a few per frame, so that no frame waits on
// dozens of fonts; the tiles left over are painted by the frames that follow.
TEST(FirstPaintBudget, NewTilesPaintAFewPerFrameAndAllInTheEnd) {
    TileTextFactory sampler(QString(), ScreenDpi);
    QWidget window;
    window.resize(320, 300);
    std::vector<TPanel*> tiles;
    for (int i = 0; i < 6; ++i) {
        auto* tile = new TPanel(&window);
        tile->setGeometry(0, i * 45, 300, 45);
        tile->SetSample(Make(sampler, "DejaVu Sans", QString()));
        tiles.push_back(tile);
    }
    const auto drawn = [&tiles] {
        return std::count_if(tiles.begin(), tiles.end(),
                             [](const TPanel* tile) { return tile->Sample()->Drawn(); });
    };
    // A budget of nothing: each frame paints the one new tile it meets first.
    FirstPaintBudget::Hold(0);
    window.grab();
    EXPECT_EQ(drawn(), 1);
    QCoreApplication::processEvents();
    window.grab();
    EXPECT_EQ(drawn(), 2);
    window.show();
    EXPECT_TRUE(testing_support::WaitUntil([&] { return drawn() == 6; }));
    FirstPaintBudget::Release();

    // Off, as after a build: every tile paints at once.
    QWidget other;
    auto* tile = new TPanel(&other);
    tile->resize(300, 45);
    tile->SetSample(Make(sampler, "IPAGothic", QString()));
    other.grab();
    EXPECT_TRUE(tile->Sample()->Drawn());
}

// A collection of more faces than the kernel allows mappings (65,530 by default): every face
// a font list can name (its index takes 16 bits) opens and shapes, what is needed of the file
// is read once, and no face keeps a mapping or the file's bytes.
TEST(OpenFaceCache, ACollectionOfMoreFacesThanMappingsIsReadOnceAndNeverMapped) {
    testing_support::TempFolder folder;
    const QString path = folder.file(QStringLiteral("many.ttc"));
    testing_support::WriteBytes(path, Collection(MarkupFontBytes(), 66000));
    OpenFaceCache cache;
    const int mappings = MappingCount();
    const qint64 resident = ResidentKiB();
    for (int index = 0; index <= 0xFFFF; ++index) {
        FontFace* face = cache.Face(path, index);
        ASSERT_NE(face, nullptr) << index;
        ASSERT_EQ(face->Shape(QStringLiteral("Aあ")).missing, 0) << index;
        face->ReleaseMemory();
    }
    EXPECT_EQ(cache.Size(), 0x10000);
    // Once: its header, the offsets of its faces, the one table directory and the tables
    // shaping needs.
    EXPECT_LT(cache.Reads(), 20) << cache.Reads();
    EXPECT_LT(MappingCount(), mappings + 100);
    // What 65,536 open faces take: a few hundred bytes each. A sanitizer's allocator keeps
    // freed memory in quarantine, so the figure means nothing there.
    const qint64 grown = ResidentKiB() - resident;
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    EXPECT_LT(grown, 64 * 1024) << grown << " KiB";
#endif
    std::printf("65,536 faces of one collection: %lld KiB, %d mappings more\n",
                static_cast<long long>(grown), MappingCount() - mappings);
}
