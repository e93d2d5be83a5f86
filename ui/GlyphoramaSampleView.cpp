// The main window's sample view commands: filters, sample text, drawing mode and wheel.
#include "ui/Glyphorama.h"

#include "ui/SampleViewControls.h"
#include "ui_Glyphorama.h"

#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr int WheelStep = 32;

} // namespace

void TGlyphorama::SelectFontType(int fontType, bool rebuild) {
    ChosenFontType = fontType;
    if (!FontPool)
        return;
    FontPool->SetFontType(fontType);
    if (rebuild)
        FontPool->RebuildView(QString());
}

void TGlyphorama::DisableViewButtons() {
    ui->ShowEnglish->setEnabled(false);
    ui->ShowJapanese->setEnabled(false);
    ui->ShowAll->setEnabled(false);
    ui->SwitchSampleViewModeButton->setEnabled(false);
    if (controls_)
        controls_->EnableViewButtons(false);
}

void TGlyphorama::EnableViewButtons() {
    ui->ShowEnglish->setEnabled(true);
    ui->ShowJapanese->setEnabled(true);
    ui->ShowAll->setEnabled(true);
    ui->SwitchSampleViewModeButton->setEnabled(true);
    if (controls_)
        controls_->EnableViewButtons(true);
}

void TGlyphorama::ShowEnglishClick() {
    SelectFontType(2, true);
}

void TGlyphorama::ShowJapaneseClick() {
    SelectFontType(1, true);
}

void TGlyphorama::ShowAllClick() {
    SelectFontType(5, true);
}

void TGlyphorama::SampleTextLeftButtonClick() {
    if (FontPool)
        FontPool->ApplySampleText(ui->SampleText->text());
}

void TGlyphorama::SampleTextRightButtonClick() {
    ui->SampleText->clear();
    if (FontPool)
        FontPool->ApplySampleText(ui->SampleText->text());
}

void TGlyphorama::SwitchSampleViewModeButtonClick() {
    // The button is disabled while tiles are built; the mode would not change then, and the
    // image must keep showing the mode in force.
    if (!FontPool || FontPool->Building)
        return;
    const int old = FontPool->ToggleSampleViewMode();
    if (old == 0)
        platform::SetButtonImage(ui->SwitchSampleViewModeButton, *ImageList24, 6);
    else if (old == 1)
        platform::SetButtonImage(ui->SwitchSampleViewModeButton, *ImageList24, 5);
}

void TGlyphorama::FlowPanelResize() {
    ui->FlowPanel->FitHeight();
}

bool TGlyphorama::ApplicationEventsMessage(QObject*, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
    // Only the vertical wheel scrolls the view. A purely sideways turn, or the start and end
    // markers of a touchpad gesture, carry no vertical delta and go their usual way.
    if (delta.y() == 0)
        return false;
    // With Ctrl, the wheel sizes the tiles' text instead.
    if (static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier) {
        if (controls_)
            controls_->WheelZoom(delta.y());
        return true;
    }
    QScrollBar* bar = ui->ScrollBox->verticalScrollBar();
    bar->setValue(bar->value() + (delta.y() > 0 ? -WheelStep : WheelStep));
    ui->ScrollBox->viewport()->update();
    // Swallowed: passed on, the scroll box would scroll a second time by its own step.
    return true;
}
