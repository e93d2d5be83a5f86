#include "sampleview/PreviewSize.h"

#include "app/AppCore.h"

#include <QKeyEvent>
#include <algorithm>
#include <cstdlib>

namespace {

const QString Section = QStringLiteral("preview");
const QString Key = QStringLiteral("sample_point_size");

} // namespace

int PreviewSize::NearestStep(int pointSize) {
    // Halfway between two steps, the smaller one.
    return *std::min_element(Steps.begin(), Steps.end(), [pointSize](int a, int b) {
        return std::abs(a - pointSize) < std::abs(b - pointSize);
    });
}

PreviewSize::KeyStep PreviewSize::StepOfKey(const QKeyEvent& event) {
    if (event.matches(QKeySequence::ZoomIn))
        return KeyStep::ZoomIn;
    if (event.matches(QKeySequence::ZoomOut))
        return KeyStep::ZoomOut;
    // Shift is part of typing "+" on most layouts; the keypad sends the same keys.
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::ControlModifier)
        return KeyStep::None;
    switch (event.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Semicolon:
        return KeyStep::ZoomIn;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return KeyStep::ZoomOut;
    case Qt::Key_0:
        return KeyStep::Reset;
    default:
        return KeyStep::None;
    }
}

void PreviewSize::SetValue(int pointSize) {
    const int step = NearestStep(pointSize);
    if (step == value_)
        return;
    value_ = step;
    emit sizeChanged(value_);
}

void PreviewSize::ZoomIn() {
    const auto next = std::upper_bound(Steps.begin(), Steps.end(), value_);
    if (next != Steps.end())
        SetValue(*next);
}

void PreviewSize::ZoomOut() {
    const auto at = std::lower_bound(Steps.begin(), Steps.end(), value_);
    if (at != Steps.begin())
        SetValue(*(at - 1));
}

void PreviewSize::Load(const TAppCore& core) {
    SetValue(core.IniReadInteger(SettingsFileName, Section, Key, Default));
}

void PreviewSize::Save(const TAppCore& core) const {
    const bool saved = !core.IniReadString(SettingsFileName, Section, Key, QString()).isEmpty();
    if (value_ != Default || saved)
        core.IniWriteInteger(SettingsFileName, Section, Key, value_);
}
