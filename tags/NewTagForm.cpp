#include "tags/NewTagForm.h"

#include "app/AppCore.h"
#include "fonts/FontPool.h"
#include "platform/FormKeys.h"
#include "tags/TagCaption.h"
#include "ui_NewTagForm.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace {

// The grey margin around the panel is the sizing frame of the borderless form.
constexpr int FrameWidth = 3;

} // namespace

TNewTagForm::TNewTagForm(QWidget* owner, NameTest tagExists, NameTest isValidTagName,
                         NameTest fileTaken)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::TNewTagForm),
      tagExists_(std::move(tagExists)), isValidTagName_(std::move(isValidTagName)),
      fileTaken_(std::move(fileTaken)) {
    ui->setupUi(this);
    // The form may grow by its frame; it never gets smaller than its controls need.
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMouseTracking(true);
    ui->RegistButton->setEnabled(false);
    ui->Notice->hide();
    ui->TagName->setFocus();

    // Every key passes the form first, as it does for the main window.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    connect(ui->TagName, &QLineEdit::textChanged, this, &TNewTagForm::TagNameChange);
    connect(ui->RegistButton, &QPushButton::clicked, this, &TNewTagForm::RegistButtonClick);
    connect(ui->Button1, &QPushButton::clicked, this, &TNewTagForm::Button1Click);
}

TNewTagForm::~TNewTagForm() {
    delete ui;
}

void TNewTagForm::Refuse(const QString& message) {
    ui->RegistButton->setEnabled(false);
    ui->Notice->setText(message);
    ui->Notice->show();
}

void TNewTagForm::TagNameChange() {
    // The text is judged exactly as typed: spaces around a name are part of it.
    const QString name = ui->TagName->text();
    if (name.isEmpty()) {
        ui->RegistButton->setEnabled(false);
        ui->Notice->hide();
    } else if (name == TFontPool::TrashTagName || name == TFontPool::FavoritesTagName) {
        Refuse(tr("この名称は使用できません。"));
    } else if (const QString fixed = FixedTagCaptioned(name); !fixed.isEmpty()) {
        // In any language: the interface may change, and the two would then look the same.
        Refuse(tr("この名称は「%1」タグの名前のため使用できません。").arg(TagCaption(fixed)));
    } else if (tagExists_ && tagExists_(name)) {
        Refuse(tr("同じ名前のタグは登録できません。"));
    } else if (!isValidTagName_ || !isValidTagName_(name)) {
        Refuse(TAppCore::ForbiddenTagNameMessage());
    } else if (fileTaken_ && fileTaken_(name)) {
        Refuse(tr("同じ名前のタグファイルがあるため、この名前には変更できません。"));
    } else {
        ui->RegistButton->setEnabled(true);
        ui->Notice->hide();
    }
}

void TNewTagForm::RegistButtonClick() {
    ResultName = ui->TagName->text();
    close();
}

void TNewTagForm::Button1Click() {
    close();
}

void TNewTagForm::FormKeyDown(int key) {
    platform::CloseOnEscape(this, key);
}

bool TNewTagForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        FormKeyDown(static_cast<QKeyEvent*>(event)->key());
        // A form that has closed has nobody left to take the key.
        return !isVisible();
    }
    return QDialog::eventFilter(watched, event);
}

Qt::Edges TNewTagForm::FrameEdgesAt(QPoint pos) const {
    Qt::Edges edges;
    if (pos.x() < FrameWidth)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - FrameWidth)
        edges |= Qt::RightEdge;
    if (pos.y() < FrameWidth)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - FrameWidth)
        edges |= Qt::BottomEdge;
    return edges;
}

void TNewTagForm::mousePressEvent(QMouseEvent* event) {
    const Qt::Edges edges = FrameEdgesAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && edges && windowHandle() &&
        windowHandle()->startSystemResize(edges))
        return event->accept();
    QDialog::mousePressEvent(event);
}

void TNewTagForm::mouseMoveEvent(QMouseEvent* event) {
    const Qt::Edges edges = FrameEdgesAt(event->position().toPoint());
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical)
        setCursor(edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge)
                      ? Qt::SizeFDiagCursor
                      : Qt::SizeBDiagCursor);
    else if (horizontal)
        setCursor(Qt::SizeHorCursor);
    else if (vertical)
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
    QDialog::mouseMoveEvent(event);
}
