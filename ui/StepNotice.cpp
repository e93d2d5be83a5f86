#include "ui/StepNotice.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QTimer>

namespace {

constexpr int FadeMs = 600;
constexpr int NoticeMargin = 8;

} // namespace

StepNotice::StepNotice(QAbstractScrollArea* view)
    : QLabel(view->viewport()), page_(view->viewport()), opacity_(new QGraphicsOpacityEffect(this)),
      fade_(new QPropertyAnimation(opacity_, "opacity", this)), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("StepNotice"));
    // Font and tag names are the user's text: never read as markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setMargin(6);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setFrameShape(QFrame::StyledPanel);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGraphicsEffect(opacity_);
    fade_->setDuration(FadeMs);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    connect(fade_, &QPropertyAnimation::finished, this, &QWidget::hide);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, fade_, [this] { fade_->start(); });
    page_->installEventFilter(this);
    hide();
}

void StepNotice::Show(const QString& text) {
    fade_->stop();
    opacity_->setOpacity(1.0);
    setText(text);
    setAccessibleName(text);
    fit();
    raise();
    show();
    timer_->start(ShownMs);
}

bool StepNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && event->type() == QEvent::Resize && isVisible())
        fit();
    return QLabel::eventFilter(watched, event);
}

void StepNotice::fit() {
    if (!page_)
        return;
    const QRect page = page_->rect();
    // One line where it fits, else as many as a narrow window needs.
    setWordWrap(false);
    const int width = std::max(1, std::min(sizeHint().width(), page.width() - 2 * NoticeMargin));
    setWordWrap(width < sizeHint().width());
    const int height = wordWrap() ? heightForWidth(width) : sizeHint().height();
    setGeometry(page.x() + (page.width() - width) / 2, page.bottom() - NoticeMargin - height, width,
                height);
}
