#pragma once

#include <QObject>
#include <array>

class QKeyEvent;
class TAppCore;

// The point size at which tiles draw their text, in fixed steps. It is kept in the settings
// file in a section of its own, which a user who never changes the size never gets.
class PreviewSize : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 11> Steps{8, 10, 12, 14, 16, 20, 24, 32, 48, 64, 96};
    static constexpr int Default = 16;

    explicit PreviewSize(QObject* parent = nullptr) : QObject(parent) {}

    int Value() const { return value_; }
    // Any size is taken as the nearest step.
    void SetValue(int pointSize);
    void ZoomIn();
    void ZoomOut();
    void Reset() { SetValue(Default); }
    static int NearestStep(int pointSize);

    // What a key does to the size: Ctrl with the key that bears "+" (shifted or not, "=" and
    // the Japanese keyboard's ";" as well) or "-", on the main keys or the keypad, and Ctrl+0.
    enum class KeyStep { None, ZoomIn, ZoomOut, Reset };
    static KeyStep StepOfKey(const QKeyEvent& event);

    // Settings: section "preview", key "sample_point_size".
    void Load(const TAppCore& core);
    // Writes the size when it is not the default, or when the file holds one already (so that
    // going back to the default is kept too).
    void Save(const TAppCore& core) const;

signals:
    void sizeChanged(int pointSize);

private:
    int value_ = Default;
};
