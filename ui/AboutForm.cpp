#include "ui/AboutForm.h"

#include "ui_AboutForm.h"

#include "platform/FormKeys.h"
#include "ui/Glyphorama.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSvgRenderer>

TAboutForm* AboutForm = nullptr;

namespace {

const QSize PictureSize(500, 400);

QPixmap aboutPicture(qreal pixelRatio) {
    QPixmap picture(PictureSize * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/forms/about.svg"));
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(QPointF(0, 0), PictureSize));
    return picture;
}

} // namespace

TAboutForm::TAboutForm(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::TAboutForm) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    ui->Image1->setPixmap(aboutPicture(devicePixelRatioF()));
    setFixedSize(PictureSize);
    if (Glyphorama && Glyphorama->AppCore) {
        ui->Version->setText(Glyphorama->AppCore->VersionText);
        ui->SubVersion->setText(Glyphorama->AppCore->SubVersionText);
    }
    centreOverOwner();
}

TAboutForm::~TAboutForm() {
    delete ui;
    if (AboutForm == this)
        AboutForm = nullptr;
}

void TAboutForm::centreOverOwner() {
    const QWidget* owner = parentWidget();
    if (!owner)
        return;
    const QRect bounds = owner->window()->frameGeometry();
    move(bounds.x() + (bounds.width() - width()) / 2,
         bounds.y() + (bounds.height() - height()) / 2);
}

void TAboutForm::FormKeyDown(int key) {
    platform::CloseOnEscape(this, key);
}

void TAboutForm::FormDeactivate() {
    close();
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(event->key());
    QWidget::keyPressEvent(event);
}

void TAboutForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        FormDeactivate();
}
