// Default captions measured ahead on worker threads: whatever the workers and the thread that
// takes the figures do in whichever order, the tiles and the cache are those of measuring
// the faces one after another.
#include "fontengine/TileTextFactory.h"
#include "platform/FontFamilies.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

// Named: the tests of this folder are compiled as one in unity builds.
namespace caption_measurer_test {

constexpr double Dpi = 96;

// Every family of the tests' fonts, a named instance of a variable font, a face listed twice,
// a file that is gone and one that is no font.
std::vector<CaptionMeasurer::Face> Faces(const testing_support::TempFolder& folder) {
    std::vector<CaptionMeasurer::Face> faces;
    for (const auto& record : platform::EnumerateFontFamilies(QStringLiteral("en")))
        faces.push_back({record.FilePath, record.FaceIndex, record.FaceName});
    const QString variable =
        QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/variable-test.ttf");
    faces.push_back({variable, 0, QStringLiteral("Variable")});
    faces.push_back({variable, 2 << 16, QStringLiteral("Variable Bold")});
    faces.push_back(faces.front());
    faces.push_back({folder.file("gone.ttf"), 0, QStringLiteral("Gone")});
    testing_support::WriteBytes(folder.file("text.ttf"), "not a font\n");
    faces.push_back({folder.file("text.ttf"), 0, QStringLiteral("Text")});
    return faces;
}

bool WaitForWorkers(const TileTextFactory& sampler, int faces) {
    for (int i = 0; i < 2000 && sampler.Ahead()->Measured() < faces; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return sampler.Ahead()->Measured() == faces;
}

struct Tile {
    QString text;
    int width = 0;
    int missing = 0;
    bool operator==(const Tile&) const = default;
};

std::vector<Tile> MakeAll(TileTextFactory& sampler,
                          const std::vector<CaptionMeasurer::Face>& faces) {
    std::vector<Tile> tiles;
    for (const auto& face : faces) {
        const auto sample = sampler.Make(face.path, face.index, face.name, QString(), 16);
        tiles.push_back({sample->Text(), sample->Width(), sample->Missing()});
    }
    return tiles;
}

TEST(CaptionMeasurer, AnyInterleavingGivesTheTilesAndTheCacheOfMeasuringInTurn) {
    testing_support::TempFolder folder;
    const std::vector<CaptionMeasurer::Face> faces = Faces(folder);
    const int distinct = static_cast<int>(faces.size()) - 1;

    TileTextFactory inTurn(folder.file("in-turn.cache"), Dpi);
    const std::vector<Tile> expected = MakeAll(inTurn, faces);
    ASSERT_TRUE(inTurn.Cache().Save());
    const QByteArray expectedCache = testing_support::ReadBytes(folder.file("in-turn.cache"));

    enum Order { WorkersFirst, Racing, StoppedAtOnce, DestroyedWhileMeasuring };
    for (const Order order : {WorkersFirst, Racing, StoppedAtOnce, DestroyedWhileMeasuring}) {
        SCOPED_TRACE(order);
        const QString cache = folder.file(QStringLiteral("ahead-%1.cache").arg(order));
        TileTextFactory ahead(cache, Dpi);
        ahead.MeasureAhead(faces);
        ASSERT_NE(ahead.Ahead(), nullptr);
        if (order == DestroyedWhileMeasuring)
            continue; // the workers stop and are joined with the factory
        if (order == WorkersFirst) {
            ASSERT_TRUE(WaitForWorkers(ahead, distinct));
        } else if (order == StoppedAtOnce) {
            ahead.StopMeasuring();
        }
        EXPECT_EQ(MakeAll(ahead, faces), expected);
        ASSERT_TRUE(ahead.Cache().Save());
        EXPECT_EQ(testing_support::ReadBytes(cache), expectedCache);
        // The workers' figures were taken: only the files no worker could read were opened
        // here again.
        if (order == WorkersFirst) {
            EXPECT_EQ(ahead.Store().Loads(), 2);
        }
    }

    // With every face in the cache (a warm start), no worker starts.
    inTurn.MeasureAhead({faces.begin(), faces.end() - 2});
    EXPECT_EQ(inTurn.Ahead(), nullptr);
}

TEST(CaptionMeasurer, AFileRewrittenAfterItWasMeasuredIsMeasuredAgain) {
    testing_support::TempFolder folder;
    const QString font = folder.file("Font.ttf");
    ASSERT_TRUE(QFile::copy(testing_support::DejaVuSansFile, font));
    const std::vector<CaptionMeasurer::Face> faces{{font, 0, QStringLiteral("Font")}};

    TileTextFactory sampler(QString(), Dpi);
    sampler.MeasureAhead(faces);
    ASSERT_TRUE(WaitForWorkers(sampler, 1));
    // Another font of another size in the same place.
    ASSERT_TRUE(QFile::remove(font));
    ASSERT_TRUE(QFile::copy(testing_support::IpaGothicFile, font));

    TileTextFactory fresh(QString(), Dpi);
    EXPECT_EQ(MakeAll(sampler, faces), MakeAll(fresh, faces));
    EXPECT_EQ(sampler.Store().Loads(), 1);
}

} // namespace caption_measurer_test
