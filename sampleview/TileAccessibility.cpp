#include "sampleview/TileAccessibility.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "sampleview/FavouriteMarks.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QHash>

namespace {

// The units behind each flow panel with tiles to name; an entry leaves with its panel.
QHash<const QWidget*, ViewUnits>& viewsByFlow() {
    static QHash<const QWidget*, ViewUnits> views;
    return views;
}

QString familyOf(const QWidget* tile) {
    const auto* panel = qobject_cast<const TPanel*>(tile);
    const auto view =
        panel ? viewsByFlow().constFind(panel->parentWidget()) : viewsByFlow().constEnd();
    if (view == viewsByFlow().constEnd())
        return QString();
    const std::vector<TFontUnit*>* units = (*view)();
    const TFontUnit* unit = units ? UnitOfTile(*units, panel) : nullptr;
    return unit ? unit->Name : QString();
}

class TileAccessible : public QAccessibleWidget {
public:
    explicit TileAccessible(QWidget* tile) : QAccessibleWidget(tile, QAccessible::ListItem) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description && FavouriteMarks::IsMarked(widget()))
            return QStringLiteral("お気に入り");
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return familyOf(widget());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        const auto* panel = qobject_cast<const TPanel*>(widget());
        state.selected = panel && panel->Selected();
        return state;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface* tileFactory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String("FlowLayoutPanel"))
        return new QAccessibleWidget(widget, QAccessible::List);
    if (className == QLatin1String("TPanel") &&
        qobject_cast<FlowLayoutPanel*>(widget->parentWidget()))
        return new TileAccessible(widget);
    return nullptr;
}

} // namespace

void InstallTileAccessibility(FlowLayoutPanel* flow, ViewUnits units) {
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(tileFactory);
    }
    viewsByFlow().insert(flow, std::move(units));
    QObject::connect(flow, &QObject::destroyed, [flow] { viewsByFlow().remove(flow); });
    QObject::connect(qApp, &QApplication::focusChanged, flow, [flow](QWidget*, QWidget* now) {
        if (now && now->parentWidget() == flow && now->accessibleName().isEmpty())
            if (const QString name = familyOf(now); !name.isEmpty())
                now->setAccessibleName(name);
    });
}
