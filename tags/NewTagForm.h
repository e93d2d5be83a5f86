#pragma once

#include <QDialog>
#include <functional>

namespace Ui {
class TNewTagForm;
}

// The small dialog in which the user names a new tag or renames one. It checks the name at
// every change and hands the accepted name back in ResultName; it changes nothing itself.
class TNewTagForm : public QDialog {
    Q_OBJECT
public:
    using NameTest = std::function<bool(const QString&)>;
    // tagExists answers whether a tag of exactly that name exists; isValidTagName whether the
    // name holds none of the forbidden characters; fileTaken, when given, whether a tag file of
    // that name exists that the name must not be given to (a rename must not take it over).
    TNewTagForm(QWidget* owner, NameTest tagExists, NameTest isValidTagName,
                NameTest fileTaken = {});
    ~TNewTagForm() override;

    Ui::TNewTagForm* const ui;
    // The accepted name; empty unless the user registered one.
    QString ResultName;

    void TagNameChange();
    void RegistButtonClick();
    void Button1Click();
    void FormKeyDown(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Which edges of the sizing frame a point of the form lies on.
    Qt::Edges FrameEdgesAt(QPoint pos) const;
    void Refuse(const QString& message);

    NameTest tagExists_;
    NameTest isValidTagName_;
    NameTest fileTaken_;
};
