#pragma once

#include "fontengine/FontFace.h"

#include <QWidget>
#include <map>
#include <vector>

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QSlider;
class QSplitter;

// The 機能 tab: the face's layout features to switch on and off, vertical setting, and a
// slider for each axis of a variable face. It shows the sample it changes beside itself: the
// details window lends it the waterfall while the tab is open.
class FeaturesTab : public QWidget {
    Q_OBJECT
public:
    explicit FeaturesTab(QWidget* parent = nullptr);

    // Lists what the face offers; none offers nothing. Vertical setting stays as it was, and
    // a feature the user switched stays so in a face that has it too.
    void SetFace(const FontFace* face);
    // Takes the sample into the tab's right-hand side.
    void HoldSample(QWidget* sample);

    ShapingOptions Shaping() const;
    std::vector<FontVariation> Variations() const;

    QListWidget* FeatureList() const { return features_; }
    QCheckBox* VerticalSwitch() const { return vertical_; }
    QSlider* AxisSlider(uint32_t tag) const;

signals:
    void ShapingChanged(const ShapingOptions& options);
    void VariationsChanged(const std::vector<FontVariation>& variations);

private:
    void featureToggled(QListWidgetItem* item);
    void fillAxes(const FontFace* face);
    void fillFeatures(const std::vector<FaceFeature>& listed);
    // Lists the same features again, each as on or off as the direction now makes it.
    void relist();

    struct Axis {
        FaceAxis axis;
        QSlider* slider = nullptr;
    };
    QSplitter* splitter_ = nullptr;
    QListWidget* features_ = nullptr;
    QCheckBox* vertical_ = nullptr;
    QGroupBox* axesBox_ = nullptr;
    QFormLayout* axesForm_ = nullptr;
    std::vector<Axis> axes_;
    // The features the user set apart from the face's defaults, by tag: on or off.
    std::map<uint32_t, bool> chosen_;
    bool filling_ = false;
};
