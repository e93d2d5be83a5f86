#pragma once

#include <QLabel>
#include <QList>
#include <QPointer>
#include <utility>

class QAbstractScrollArea;

// Says in the sample view that the name search finds nothing in it, and how many matches the
// other views hold: an empty grey page leaves a user guessing whether the search or the
// program failed. Lies over the view's page, centred, and lets every click through.
class NoMatchNotice : public QLabel {
    Q_OBJECT
public:
    // A view's caption with its count of matches.
    using ViewMatches = QList<std::pair<QString, int>>;

    explicit NoMatchNotice(QAbstractScrollArea* view);

    // Shows the notice with the views that hold matches.
    void ShowFor(const ViewMatches& others);
    // What it says, in plain text: "全て で 3 件" for each view holding any.
    static QString Text(const ViewMatches& others);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    const QPointer<QWidget> page_;
};
