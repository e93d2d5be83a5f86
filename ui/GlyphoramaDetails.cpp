// The main window's coverage filter and the font details window.
#include "ui/Glyphorama.h"

#include "ui_Glyphorama.h"

#include "details/FontDetailsForm.h"
#include "sampleview/CoverageFilter.h"
#include "sampleview/TileDetailsTrigger.h"

#include <QToolButton>

void TGlyphorama::createCoverageAndDetails() {
    Coverage = std::make_unique<CoverageFilter>();
    CoverageFilterButton = new QToolButton(ui->SwitchBar);
    CoverageFilterButton->setObjectName(QStringLiteral("CoverageFilterButton"));
    CoverageFilterButton->setCheckable(true);
    CoverageFilterButton->setAutoRaise(true);
    CoverageFilterButton->setText(tr("表示できるフォントだけ"));
    CoverageFilterButton->setToolTip(tr("サンプルテキストをすべて表示できるフォントだけ"));
    CoverageFilterButton->setAccessibleName(CoverageFilterButton->toolTip());
    const platform::ImageList icon(24, {QStringLiteral(":/forms/icons/coverage.svg")});
    CoverageFilterButton->setIcon(icon.Icon(0));
    CoverageFilterButton->setIconSize(QSize(24, 24));
    CoverageFilterButton->setFixedSize(ui->ShowAll->minimumSize());
    // Beside the filter buttons, whose view it narrows.
    auto* bar = static_cast<QBoxLayout*>(ui->SwitchBar->layout());
    bar->insertWidget(bar->indexOf(ui->ShowAll) + 1, CoverageFilterButton);
    connect(CoverageFilterButton, &QToolButton::toggled, this,
            &TGlyphorama::CoverageFilterButtonClick);

    if (FontPool)
        FontPool->ViewFilter = [this](const TFontUnit& unit) {
            return !FontPool || Coverage->Admits(unit.Name, FontPool->Options.SampleString);
        };

    DetailsTrigger = new TileDetailsTrigger(
        ui->FlowPanel,
        [this](int tag) {
            const TFontUnit* unit = FontPool ? FontPool->FindUnitByTileTag(tag) : nullptr;
            return unit ? unit->Name : QString();
        },
        this);
    connect(DetailsTrigger, &TileDetailsTrigger::DetailsRequested, this, &TGlyphorama::showDetails);
}

void TGlyphorama::CoverageFilterButtonClick(bool checked) {
    if (!FontPool || FontPool->Building) {
        // The view cannot follow now: the button keeps showing what the view shows.
        const QSignalBlocker blocker(CoverageFilterButton);
        CoverageFilterButton->setChecked(Coverage->Enabled());
        return;
    }
    const QString& text = FontPool->Options.SampleString;
    const bool narrowed = Coverage->Narrows(text);
    Coverage->SetEnabled(checked);
    // Without a sample text the filter has no effect, and the view is left as it is.
    if (Coverage->Narrows(text) != narrowed)
        FontPool->RebuildView(FontPool->ViewTag);
}

void TGlyphorama::refilterAfterSampleText(const QString& before) {
    if (!FontPool || !Coverage->Enabled() || FontPool->Building ||
        FontPool->Options.SampleString == before)
        return;
    FontPool->RebuildView(FontPool->ViewTag);
}

void TGlyphorama::showDetails(const QString& familyName) {
    if (familyName.isEmpty())
        return;
    const QString sample = FontPool ? FontPool->Options.SampleString : QString();
    FontDetailsForm::ShowFor(familyName, sample, this);
}
