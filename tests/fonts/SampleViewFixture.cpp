#include "SampleViewFixture.h"

#include "app/AppCore.h"
#include "platform/FormFonts.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <QTest>

namespace sample_view_test {

using platform::FontFamilyRecord;

namespace {

// The installed family of that name in the tests' own font set, if there is one.
const FontFamilyRecord* installed(const QString& name) {
    static const std::vector<FontFamilyRecord> records =
        platform::EnumerateFontFamilies(QStringLiteral("en"));
    for (const FontFamilyRecord& record : records)
        if (record.FaceName == name)
            return &record;
    return nullptr;
}

} // namespace

FontFamilyRecord Family(const QString& name, int charSet, int pitch,
                        const QStringList& otherNames) {
    FontFamilyRecord record;
    // An installed family is drawn from its own file; any other name from DejaVu Sans's.
    const FontFamilyRecord* file = installed(name);
    if (!file)
        file = installed(QStringLiteral("DejaVu Sans"));
    if (file) {
        record.FilePath = file->FilePath;
        record.FaceIndex = file->FaceIndex;
    }
    record.FaceName = name;
    record.OtherNames = otherNames;
    record.Style = QStringLiteral("Regular");
    record.CharSet = charSet;
    record.PitchAndFamily = pitch;
    record.FontType = platform::TRUETYPE_FONTTYPE;
    return record;
}

std::vector<FontFamilyRecord> ManyFamilies(int count) {
    std::vector<FontFamilyRecord> families;
    for (int i = 0; i < count; ++i)
        families.push_back(Family(QStringLiteral("Family %1").arg(i, 3, 10, QChar(u'0'))));
    return families;
}

QImage NameLabelPixels(TPanel* tile) {
    return tile->grab(tile->NameLabelRect()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage ExpectedNameLabel(const TPanel* tile, const QColor& background) {
    return ExpectedNameLabel(tile, background, tile->NameLabelText());
}

QImage ExpectedNameLabel(const TPanel* tile, const QColor& background, const QString& text) {
    QPixmap label(tile->NameLabelRect().size());
    label.fill(background);
    QPainter painter(&label);
    painter.setFont(platform::FormFont(7));
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawText(label.rect(), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter.end();
    return label.toImage().convertToFormat(QImage::Format_RGB32);
}

void SampleViewTest::SetUp() {
    savedSource_ = TFontPool::FontSource;
    dataDir = TAppCore().DataDir;
    QDir(dataDir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dataDir + QStringLiteral("/tags")));
}

void SampleViewTest::TearDown() {
    window.reset();
    TFontPool::FontSource = savedSource_;
    QDir(dataDir).removeRecursively();
}

void SampleViewTest::Open(const std::vector<FontFamilyRecord>& families,
                          const QByteArray& settings) {
    testing_support::WriteBytes(dataDir + QStringLiteral("/Glyphorama.ini"),
                                "[NetWork]\nVersionCheck=0\n" + settings);
    TFontPool::FontSource = [families] { return families; };
    window = std::make_unique<TGlyphorama>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void SampleViewTest::OpenBuilt(const std::vector<FontFamilyRecord>& families,
                               const QByteArray& settings) {
    Open(families, settings);
    WaitForBuild();
}

void SampleViewTest::WaitForBuild() {
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }, 60000));
    // The finished builder is deleted once the event loop has run again.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SampleViewTest::WaitForResample() {
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Resampler().Pending(); }, 60000));
}

void SampleViewTest::WaitForTiles(int count) {
    ASSERT_TRUE(testing_support::WaitUntil([&] { return TileCount() >= count; }, 60000));
}

QStringList SampleViewTest::ViewNames() const {
    QStringList names;
    for (const TFontUnit* unit : Pool().ViewList)
        names.append(unit->Name);
    return names;
}

std::vector<TPanel*> SampleViewTest::Tiles() const {
    std::vector<TPanel*> tiles;
    for (const TFontUnit* unit : Pool().ViewList)
        if (unit->Tile)
            tiles.push_back(unit->Tile);
    return tiles;
}

TPanel* SampleViewTest::TileOf(const QString& name) const {
    for (const TFontUnit* unit : Pool().ViewList)
        if (unit->Name == name)
            return unit->Tile;
    return nullptr;
}

void SampleViewTest::WriteTag(const QString& tagName, const QStringList& lines) const {
    testing_support::WriteBytes(
        dataDir + QStringLiteral("/tags/") + tagName + QStringLiteral(".tag"),
        (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

} // namespace sample_view_test
