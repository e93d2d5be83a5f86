#include "sampleview/NoMatchNotice.h"

#include <QAbstractScrollArea>
#include <QEvent>

NoMatchNotice::NoMatchNotice(QAbstractScrollArea* view)
    : QLabel(view->viewport()), page_(view->viewport()) {
    setObjectName(QStringLiteral("NoMatchNotice"));
    // The names come from the user's typing and the fonts: never read as markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setMargin(16);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setForegroundRole(QPalette::PlaceholderText);
    page_->installEventFilter(this);
    hide();
}

QString NoMatchNotice::Text(const ViewMatches& others) {
    QStringList elsewhere;
    for (const auto& [caption, count] : others)
        if (count > 0)
            elsewhere.append(tr("%1 で %n 件", nullptr, count).arg(caption));
    const QString first = tr("このビューには一致するフォントがありません");
    if (elsewhere.isEmpty())
        return first + u'\n' + tr("ほかのビューにもありません");
    return first + u'\n' + elsewhere.join(tr("、"));
}

void NoMatchNotice::ShowFor(const ViewMatches& others) {
    setText(Text(others));
    setAccessibleName(text());
    fit();
    raise();
    show();
}

bool NoMatchNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && event->type() == QEvent::Resize)
        fit();
    return QLabel::eventFilter(watched, event);
}

void NoMatchNotice::fit() {
    if (page_)
        setGeometry(page_->rect());
}
