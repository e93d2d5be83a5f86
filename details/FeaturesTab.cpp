#include "details/FeaturesTab.h"

#include "details/FeatureNames.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

// Slider steps per unit of an axis: slant and optical size move in fractions.
constexpr int StepsPerUnit = 10;

// HarfBuzz applies these unasked in horizontal text; listed, they show as on.
bool onByDefault(uint32_t tag, bool vertical) {
    static const uint32_t tags[] = {
        FontTag("abvf"), FontTag("abvm"), FontTag("abvs"), FontTag("akhn"), FontTag("blwf"),
        FontTag("blwm"), FontTag("blws"), FontTag("calt"), FontTag("ccmp"), FontTag("cfar"),
        FontTag("cjct"), FontTag("clig"), FontTag("curs"), FontTag("dist"), FontTag("fin2"),
        FontTag("fin3"), FontTag("fina"), FontTag("half"), FontTag("haln"), FontTag("init"),
        FontTag("isol"), FontTag("kern"), FontTag("liga"), FontTag("ljmo"), FontTag("locl"),
        FontTag("mark"), FontTag("med2"), FontTag("medi"), FontTag("mkmk"), FontTag("nukt"),
        FontTag("pref"), FontTag("pres"), FontTag("pstf"), FontTag("psts"), FontTag("rclt"),
        FontTag("rkrf"), FontTag("rlig"), FontTag("rphf"), FontTag("tjmo"), FontTag("vjmo")};
    if (tag == FontTag("vert"))
        return vertical;
    // Kerning across a vertical line is the face's 'vkrn'; 'kern' is horizontal only.
    if (vertical && tag == FontTag("kern"))
        return false;
    return std::find(std::begin(tags), std::end(tags), tag) != std::end(tags);
}

QString axisName(const FaceAxis& axis) {
    if (!axis.name.trimmed().isEmpty())
        return axis.name.simplified();
    if (axis.tag == FontTag("wght"))
        return FeaturesTab::tr("太さ");
    if (axis.tag == FontTag("wdth"))
        return FeaturesTab::tr("幅");
    if (axis.tag == FontTag("opsz"))
        return FeaturesTab::tr("オプティカルサイズ");
    if (axis.tag == FontTag("slnt"))
        return FeaturesTab::tr("傾き");
    if (axis.tag == FontTag("ital"))
        return FeaturesTab::tr("イタリック");
    return FeatureTagText(axis.tag);
}

} // namespace

FeaturesTab::FeaturesTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    layout->addWidget(splitter_);

    auto* controls = new QWidget(splitter_);
    auto* column = new QVBoxLayout(controls);
    column->setContentsMargins(0, 0, 0, 0);
    vertical_ = new QCheckBox(tr("縦書き"), controls);
    vertical_->setObjectName(QStringLiteral("VerticalWriting"));
    vertical_->setAccessibleName(tr("縦書き"));
    column->addWidget(vertical_);
    features_ = new QListWidget(controls);
    features_->setObjectName(QStringLiteral("FeaturesList"));
    features_->setAccessibleName(tr("OpenType の機能"));
    column->addWidget(features_, 1);
    axesBox_ = new QGroupBox(tr("可変軸"), controls);
    axesBox_->setObjectName(QStringLiteral("AxesBox"));
    axesBox_->setAccessibleName(tr("可変軸"));
    axesForm_ = new QFormLayout(axesBox_);
    axesBox_->hide();
    column->addWidget(axesBox_);
    splitter_->addWidget(controls);
    splitter_->setStretchFactor(0, 0);

    connect(vertical_, &QCheckBox::toggled, this, [this] {
        // What is on by default differs across the line; the list shows it.
        relist();
        emit ShapingChanged(Shaping());
    });
    connect(features_, &QListWidget::itemChanged, this, &FeaturesTab::featureToggled);
}

void FeaturesTab::HoldSample(QWidget* sample) {
    if (splitter_->indexOf(sample) < 0) {
        splitter_->addWidget(sample);
        splitter_->setStretchFactor(1, 1);
    }
    sample->show();
}

void FeaturesTab::SetFace(const FontFace* face) {
    fillAxes(face);
    fillFeatures(face ? face->Features() : std::vector<FaceFeature>{});
}

void FeaturesTab::fillFeatures(const std::vector<FaceFeature>& listed) {
    filling_ = true;
    features_->clear();
    for (const FaceFeature& feature : listed) {
        auto* item = new QListWidgetItem(
            tr("%1 (%2)").arg(FeatureName(feature), FeatureTagText(feature.tag)), features_);
        item->setData(Qt::UserRole, feature.tag);
        item->setData(Qt::UserRole + 1, feature.name);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const auto chosen = chosen_.find(feature.tag);
        const bool on = chosen != chosen_.end() ? chosen->second
                                                : onByDefault(feature.tag, vertical_->isChecked());
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
}

void FeaturesTab::relist() {
    std::vector<FaceFeature> listed;
    for (int i = 0; i < features_->count(); ++i)
        listed.push_back({features_->item(i)->data(Qt::UserRole).toUInt(),
                          features_->item(i)->data(Qt::UserRole + 1).toString()});
    fillFeatures(listed);
}

void FeaturesTab::featureToggled(QListWidgetItem* item) {
    if (filling_)
        return;
    const uint32_t tag = item->data(Qt::UserRole).toUInt();
    const bool on = item->checkState() == Qt::Checked;
    if (on == onByDefault(tag, vertical_->isChecked()))
        chosen_.erase(tag);
    else
        chosen_[tag] = on;
    emit ShapingChanged(Shaping());
}

ShapingOptions FeaturesTab::Shaping() const {
    ShapingOptions options;
    options.vertical = vertical_->isChecked();
    for (const auto& [tag, on] : chosen_)
        options.features.push_back({tag, on ? 1u : 0u});
    return options;
}

void FeaturesTab::fillAxes(const FontFace* face) {
    while (axesForm_->rowCount() > 0)
        axesForm_->removeRow(0);
    axes_.clear();
    axesBox_->hide();
    if (!face)
        return;
    const std::vector<FontVariation> at = face->Coordinates();
    for (const FaceAxis& axis : face->Axes()) {
        if (axis.hidden || axis.maximum <= axis.minimum)
            continue;
        auto* slider = new QSlider(Qt::Horizontal, axesBox_);
        slider->setObjectName(QStringLiteral("Axis_") + FeatureTagText(axis.tag));
        const QString name = axisName(axis);
        slider->setAccessibleName(name);
        slider->setRange(static_cast<int>(std::lround(axis.minimum * StepsPerUnit)),
                         static_cast<int>(std::lround(axis.maximum * StepsPerUnit)));
        float value = axis.defaultValue;
        for (const FontVariation& coordinate : at)
            if (coordinate.tag == axis.tag)
                value = coordinate.value;
        slider->setPageStep(std::max(1, (slider->maximum() - slider->minimum()) / 20));
        slider->setValue(static_cast<int>(std::lround(value * StepsPerUnit)));
        auto* shown = new QLabel(axesBox_);
        shown->setMinimumWidth(shown->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")));
        const auto show = [shown](int steps) {
            shown->setText(QString::number(double(steps) / StepsPerUnit, 'f', 1));
        };
        show(slider->value());
        connect(slider, &QSlider::valueChanged, this, [this, show](int steps) {
            show(steps);
            emit VariationsChanged(Variations());
        });
        auto* row = new QWidget(axesBox_);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->addWidget(slider, 1);
        rowLayout->addWidget(shown);
        auto* label = new QLabel(name, axesBox_);
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(slider);
        axesForm_->addRow(label, row);
        axes_.push_back({axis, slider});
    }
    axesBox_->setVisible(!axes_.empty());
}

std::vector<FontVariation> FeaturesTab::Variations() const {
    std::vector<FontVariation> variations;
    for (const Axis& axis : axes_)
        variations.push_back(
            {axis.axis.tag, static_cast<float>(axis.slider->value()) / StepsPerUnit});
    return variations;
}

QSlider* FeaturesTab::AxisSlider(uint32_t tag) const {
    for (const Axis& axis : axes_)
        if (axis.axis.tag == tag)
            return axis.slider;
    return nullptr;
}
