#pragma once

#include <QObject>
#include <vector>

struct TFontUnit;

// One way of narrowing or ordering the sample view beyond the font type and the tags. Each is
// registered once in the view's ViewFilterChain and says Changed() whenever what it lets
// through may have become different; the chain then applies itself again.
class ViewFilter : public QObject {
    Q_OBJECT
public:
    // Where a filter does its work, and what a change of it costs.
    enum class Stage {
        // On the families, before their tiles are built: tiles it turns down are never built,
        // and a change rebuilds the view. For tests that cost a lookup per family and may
        // leave few tiles, and for orders (tiles are built in the order of the list).
        Families,
        // On the built tiles, which it hides and shows again: a change costs no rebuild, and
        // tiles built later are judged as they join the flow. For tests cheap enough to run
        // over every tile at each keystroke.
        Tiles,
    };

    explicit ViewFilter(Stage stage, QObject* parent = nullptr) : QObject(parent), stage_(stage) {}

    Stage AppliesTo() const { return stage_; }

    // Whether the filter turns any family down as it is set now. One that does not is not
    // asked about each family, so that a view with its filters off costs nothing per tile.
    virtual bool IsActive() { return true; }
    // Whether the family stays in the view.
    virtual bool Admits(const TFontUnit&) { return true; }
    // Puts the families that stayed in the order the view shows them; only a Families filter
    // is asked, and most leave the order as it is.
    virtual void Arrange(std::vector<TFontUnit*>&) {}

signals:
    void Changed();

private:
    const Stage stage_;
};
