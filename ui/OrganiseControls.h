#pragma once

#include <QObject>
#include <QPointer>

class OrganiseSteps;
class QAction;
class SampleViewControls;
class StepNotice;
class TGlyphorama;

// Wires the organising steps to the window: the drops on tag buttons, Delete and Ctrl+D on a
// tile, the tool menu's 元に戻す (Ctrl+Z) and やり直す (Ctrl+Shift+Z), and the notice after
// each step. A text field with the focus keeps Ctrl+Z for its own text.
class OrganiseControls : public QObject {
    Q_OBJECT
public:
    OrganiseControls(TGlyphorama& window, SampleViewControls& controls);

    // None when the window has no catalogue; gone with it.
    OrganiseSteps* Steps() const;

private:
    void createActions();

    TGlyphorama& window_;
    QPointer<OrganiseSteps> steps_;
    StepNotice* notice_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};
