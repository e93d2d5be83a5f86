#pragma once

#include <QWidget>

namespace Ui {
class TAboutForm;
}

// The borderless box with the product picture and the version. It closes on Esc or as soon
// as another window becomes active, and frees itself when closed.
class TAboutForm : public QWidget {
    Q_OBJECT
public:
    // Shown over the owner, centred on it.
    explicit TAboutForm(QWidget* owner);
    ~TAboutForm() override;

    Ui::TAboutForm* const ui;

    void FormKeyDown(int key);
    void FormDeactivate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void centreOverOwner();
};

// The open about box, or none.
extern TAboutForm* AboutForm;
