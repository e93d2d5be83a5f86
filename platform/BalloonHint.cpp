#include "platform/BalloonHint.h"

#include "platform/ImageList.h"

#include <QBitmap>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

namespace platform {

namespace {

constexpr int Radius = 8;
constexpr int Padding = 10;
const QColor Background(0xFF, 0xFF, 0xE8);
const QColor Border(0x76, 0x76, 0x76);

QLabel* plainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    // What we show comes from the network.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

BalloonHint::BalloonHint(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint), image_(new QLabel(this)),
      title_(plainLabel(this)), description_(plainLabel(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setObjectName(QStringLiteral("Title"));
    description_->setObjectName(QStringLiteral("Description"));
    description_->setMaximumWidth(MaxTextWidth);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setAlignment(Qt::AlignTop);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(image_, 0, 0, 2, 1);
    layout->addWidget(title_, 0, 1);
    layout->addWidget(description_, 1, 1);
    pointDown(true);

    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void BalloonHint::applyContents() {
    const QString title = title_->fontMetrics().elidedText(Title, Qt::ElideRight, MaxTextWidth);
    title_->setText(title);
    title_->setVisible(!Title.isEmpty());
    // A balloon ends its lines with CR LF and may end on an empty line; neither is shown.
    QString text = Description;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (text.endsWith(u'\n'))
        text.chop(1);
    description_->setText(text);
    // Wrapped labels pick a narrow width of their own: wrap only what is too wide anyway.
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, description_->fontMetrics().horizontalAdvance(line));
    const bool wrap = widest > MaxTextWidth;
    description_->setWordWrap(wrap);
    description_->setMinimumWidth(wrap ? MaxTextWidth : 0);
    const QPixmap pixmap = Images ? Images->Pixmap(ImageIndex) : QPixmap();
    image_->setPixmap(pixmap);
    image_->setVisible(!pixmap.isNull());
    // The window system and tests find the balloon by its title.
    setWindowTitle(Title);
}

void BalloonHint::pointDown(bool down) {
    pointsDown_ = down;
    layout()->setContentsMargins(Padding, Padding + (down ? 0 : PointerHeight), Padding,
                                 Padding + (down ? PointerHeight : 0));
    layout()->activate();
}

void BalloonHint::ShowHint(QPoint globalPos) {
    applyContents();
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();

    pointDown(true);
    adjustSize();
    if (area.isValid() && globalPos.y() - height() < area.top()) {
        pointDown(false);
        adjustSize();
    }

    // Keep the balloon on the screen; the pointer slides along its edge to stay on the spot.
    int x = globalPos.x() - PointerInset;
    if (area.isValid())
        x = std::max(area.left(), std::min(x, area.right() + 1 - width()));
    tipX_ = std::clamp(globalPos.x() - x, Radius, std::max(Radius, width() - Radius));
    // Only a spot closer to the screen's edge than the corner's radius pushes it off a little.
    x = globalPos.x() - tipX_;
    const int y = pointsDown_ ? globalPos.y() - height() : globalPos.y();
    move(x, y);
    updateMask();
    show();
    update();

    if (HideAfter > 0)
        hideTimer_.start(HideAfter);
    else
        hideTimer_.stop();
}

QPoint BalloonHint::PointerTip() const {
    return pos() + QPoint(tipX_, pointsDown_ ? height() : 0);
}

QPainterPath BalloonHint::outline() const {
    const QRectF body(0.5, 0.5 + (pointsDown_ ? 0 : PointerHeight), width() - 1.0,
                      height() - 1.0 - PointerHeight);
    QPainterPath path;
    path.addRoundedRect(body, Radius, Radius);
    QPainterPath pointer;
    const qreal baseY = pointsDown_ ? body.bottom() - 1 : body.top() + 1;
    const qreal tipY = pointsDown_ ? height() - 0.5 : 0.5;
    const qreal tipX = tipX_;
    // A slanted pointer, as classic balloons have, leaning toward the balloon's middle.
    const qreal slant = tipX_ > width() / 2 ? -PointerHeight : PointerHeight;
    pointer.moveTo(tipX, baseY);
    pointer.lineTo(tipX + slant, baseY);
    pointer.lineTo(tipX, tipY);
    pointer.closeSubpath();
    return path.united(pointer).simplified();
}

void BalloonHint::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Border, 1));
    painter.setBrush(Background);
    painter.drawPath(outline());
}

void BalloonHint::mousePressEvent(QMouseEvent*) {
    hideTimer_.stop();
    hide();
}

void BalloonHint::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateMask();
}

void BalloonHint::updateMask() {
    // Window systems without a compositor cannot show translucent corners: cut the shape out.
    QBitmap shape(size());
    shape.fill(Qt::color0);
    QPainter painter(&shape);
    painter.setPen(QPen(Qt::color1, 1));
    painter.setBrush(Qt::color1);
    painter.drawPath(outline());
    painter.end();
    setMask(shape);
}

} // namespace platform
