#pragma once

#include <QLabel>
#include <QPointer>

class QAbstractScrollArea;
class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QTimer;

// A short line at the bottom of the sample view saying what the last organising step did and
// how to take it back. It asks nothing and takes no click; it fades after a few seconds, or
// gives way to the next one.
class StepNotice : public QLabel {
    Q_OBJECT
public:
    explicit StepNotice(QAbstractScrollArea* view);

    // Shows the text, plain, for a few seconds.
    void Show(const QString& text);

    static constexpr int ShownMs = 5000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    const QPointer<QWidget> page_;
    QGraphicsOpacityEffect* opacity_;
    QPropertyAnimation* fade_;
    QTimer* timer_;
};
