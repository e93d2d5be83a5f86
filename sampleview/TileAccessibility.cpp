#include "sampleview/TileAccessibility.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "sampleview/FavouriteMarks.h"

#include <QAccessibleWidget>

namespace {

class TileAccessible : public QAccessibleWidget {
public:
    explicit TileAccessible(QWidget* tile) : QAccessibleWidget(tile, QAccessible::ListItem) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description && FavouriteMarks::IsMarked(widget()))
            return QStringLiteral("お気に入り");
        return QAccessibleWidget::text(t);
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

void InstallTileAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(tileFactory);
}
