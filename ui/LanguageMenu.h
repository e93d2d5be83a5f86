#pragma once

#include <QMenu>

class QActionGroup;

// The tool menu's choice of interface language. The title is in both languages and each
// language is named in its own, so that a reader of either finds the way back.
class LanguageMenu : public QMenu {
    Q_OBJECT
public:
    LanguageMenu(const QString& current, QWidget* parent);

    QAction* Item(const QString& language) const;
    void SetCurrent(const QString& language);

signals:
    // A language other than the marked one was chosen; the mark has moved to it. A receiver
    // that cannot save the choice raises, and the mark moves back.
    void LanguageChosen(const QString& language);

private:
    QActionGroup* group_;
    QString current_;
};

// Saves the chosen language in the settings file, tells the user that it applies from the next
// start and offers to start again now; true when the user takes the offer. The texts are in
// both languages: the user may read only the one just chosen.
bool SaveLanguageChoice(QWidget* parent, const QString& iniPath, const QString& language);
