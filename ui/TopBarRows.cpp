#include "ui/TopBarRows.h"

#include "ui/CroppedRowLayout.h"

#include <QEvent>
#include <QFrame>
#include <QLineEdit>

namespace {

// Kanji, kana and Latin with digits: twenty characters of what users try first. Only measured,
// never shown, so not a text to translate.
const QString ReferenceText = QString::fromUtf8("永あア漢 Hamburg 123");
// The field's buttons at either end and its text margins.
constexpr int FieldButtons = 2 * 24 + 8;
constexpr int SearchWidth = 150;
constexpr int FieldGap = 4;

} // namespace

TopBarRows::TopBarRows(QFrame* bar, QBoxLayout* row, QLineEdit* sampleText, QLineEdit* search,
                       QWidget* progressPanel, QBoxLayout* windowLayout)
    : QObject(bar), bar_(bar), row_(row), sampleText_(sampleText), search_(search),
      progressPanel_(progressPanel) {
    // Dressed as the first row.
    secondRow_ = new QFrame(bar->parentWidget());
    secondRow_->setObjectName(QStringLiteral("SampleControlRow2"));
    secondRow_->setPalette(bar->palette());
    secondRow_->setAutoFillBackground(true);
    secondRow_->setFrameShape(QFrame::NoFrame);
    secondRow_->setFixedHeight(bar->maximumHeight() - 4);
    secondRowLayout_ = new CroppedRowLayout(secondRow_);
    secondRowLayout_->setContentsMargins(FieldGap, 0, 0, 2);
    secondRowLayout_->setSpacing(0);
    windowLayout->insertWidget(windowLayout->indexOf(bar) + 1, secondRow_);
    secondRow_->hide();
    sampleText_->setMinimumWidth(SampleTextWidth(*sampleText_));
    search_->setMinimumWidth(SearchWidth);
    bar_->installEventFilter(this);
    arrange(bar_->width());
}

int TopBarRows::SampleTextWidth(const QLineEdit& field) {
    return field.fontMetrics().horizontalAdvance(ReferenceText) + FieldButtons;
}

int TopBarRows::OneRowWidth() const {
    int width = 0;
    for (int i = 0; i < row_->count(); ++i) {
        QWidget* widget = row_->itemAt(i)->widget();
        if (widget == sampleText_ || widget == search_ || widget == progressPanel_)
            continue;
        width += widget ? widget->sizeHint().width() : row_->itemAt(i)->sizeHint().width();
    }
    return width + SampleTextWidth(*sampleText_) + FieldGap + SearchWidth +
           progressPanel_->minimumWidth();
}

bool TopBarRows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == bar_ && event->type() == QEvent::Resize)
        arrange(bar_->width());
    return QObject::eventFilter(watched, event);
}

void TopBarRows::arrange(int width) {
    const bool two = width < OneRowWidth();
    if (two == twoRows_)
        return;
    twoRows_ = two;
    if (two) {
        // The first row keeps no room for the fields that left; the sample text has the rest
        // of it, cut at the right only in a window narrower than any first start.
        const int gap = row_->indexOf(search_) - 1;
        if (gap > 0 && row_->itemAt(gap)->spacerItem())
            delete row_->takeAt(gap);
        sampleText_->setMinimumWidth(0);
        secondRowLayout_->addWidget(search_, 1);
        secondRowLayout_->addWidget(progressPanel_);
        secondRow_->show();
    } else {
        const int at = row_->indexOf(sampleText_) + 1;
        row_->insertSpacing(at, FieldGap);
        row_->insertWidget(at + 1, search_, 2);
        row_->insertWidget(at + 2, progressPanel_);
        row_->setStretchFactor(sampleText_, 3);
        sampleText_->setMinimumWidth(SampleTextWidth(*sampleText_));
        secondRow_->hide();
    }
    search_->show();
    progressPanel_->show();
}
