#pragma once
// The captioned family: an edit box and a combo box that each own a caption
// label placed to their left, a check box and a label with a raised or sunken
// look that shows which control has the focus.
//
// The caption of a TEditLabel / TComboBoxSig is a TLabelSig in the same parent
// as the control (so it is laid out beside it), created, placed, shown,
// hidden, enabled and highlighted by the control:
//   left  = max(0, control left - CaptionLeft), width = control left - left,
//   top   = control top + (control height - label height) / 2,
// redone on every move or resize of the control and on changes of Caption or
// CaptionLeft (moves of a hidden widget reach it when the widget is shown).
// The caption is visible exactly when its text is not empty and the control
// is not hidden; with CaptionDisable it is enabled together with the control.
// Clicking the caption focuses the control and passes the press on to it; its
// '&' accelerator focuses the control as well.
//
// Boxes: a TEditLabel shows its warnings ("Date Is Invalid !") through the
// Dialogs given to it with setDialogs(); without one it uses the process-wide
// default set once by the application with TEditLabel::setDefaultDialogs();
// with neither it refuses the exit without a box.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "controls/ControlTag.h"

namespace stallmark {

class Dialogs;

enum TCharFilter { cfNormal, cfNumber, cfInteger, cfLetter, cfDate };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// A label painted raised when its focus control has the focus and sunken
// otherwise; presses on it go to its focus control.
class TLabelSig : public QLabel, public TagHolder {
    Q_OBJECT

public:
    explicit TLabelSig(QWidget* parent = nullptr);
    explicit TLabelSig(const QString& text, QWidget* parent = nullptr);

    // The control that takes the focus, the presses and the accelerator (also the buddy).
    void setFocusControl(QWidget* control);
    QWidget* focusControl() const { return focusControl_; }
    void setFocused(bool focused);
    bool focused() const { return focused_; }
    // The control this label is the caption of (button panels leave such labels alone).
    QWidget* captionOwner() const { return captionOwner_; }
    void setCaptionOwner(QWidget* owner) { captionOwner_ = owner; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool Forward(QMouseEvent* event);

    QPointer<QWidget> focusControl_;
    QPointer<QWidget> captionOwner_;
    bool focused_ = false;
};

class TEditLabel : public QLineEdit, public TagHolder {
    Q_OBJECT

public:
    explicit TEditLabel(QWidget* parent = nullptr);
    ~TEditLabel() override;

    TCharFilter charFilter() const { return charFilter_; }
    void setCharFilter(TCharFilter filter) { charFilter_ = filter; }
    // Empty when there is no caption label; a non-empty text creates the
    // label, an empty one destroys it.
    QString caption() const;
    void setCaption(const QString& caption);
    int captionLeft() const { return captionLeft_; }
    void setCaptionLeft(int pixels);  // default 40
    bool captionDisable() const { return captionDisable_; }
    void setCaptionDisable(bool on);  // default true
    bool mandatory() const { return mandatory_; }
    void setMandatory(bool on) { mandatory_ = on; }
    TLabelSig* captionLabel() const { return label_; }

    void setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    static void setDefaultDialogs(Dialogs* dialogs);

    // The check made when the focus leaves: trims the text, checks Mandatory
    // and cfDate (rewriting a good date as dd/mm/yyyy); on a fault shows the
    // warning, puts the focus back and emits exitRefused. True when accepted.
    bool CheckExit();

    void setVisible(bool visible) override;

signals:
    void clicked();
    void doubleClicked();
    void exitRefused();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool Allowed(QChar ch) const;
    void Step(bool up);
    void TypePoint(QKeyEvent* event);
    void PlaceCaption();
    void UpdateCaptionState();

    QPointer<TLabelSig> label_;
    TCharFilter charFilter_ = cfNormal;
    int captionLeft_ = 40;
    bool captionDisable_ = true;
    bool mandatory_ = false;
    Dialogs* dialogs_ = nullptr;
};

class TComboBoxSig : public QComboBox, public TagHolder {
    Q_OBJECT

public:
    explicit TComboBoxSig(QWidget* parent = nullptr);
    ~TComboBoxSig() override;

    QString caption() const;
    void setCaption(const QString& caption);
    int captionLeft() const { return captionLeft_; }
    void setCaptionLeft(int pixels);  // default 30
    bool captionDisable() const { return captionDisable_; }
    void setCaptionDisable(bool on);  // default false
    TEditCharCase charCase() const { return charCase_; }
    void setCharCase(TEditCharCase charCase) { charCase_ = charCase; }
    TLabelSig* captionLabel() const { return label_; }

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PlaceCaption();
    void UpdateCaptionState();

    QPointer<TLabelSig> label_;
    int captionLeft_ = 30;
    bool captionDisable_ = false;
    TEditCharCase charCase_ = ecNormal;
};

// A check box whose caption is drawn raised while it has the focus.
class TCheckBoxSig : public QCheckBox, public TagHolder {
    Q_OBJECT

public:
    explicit TCheckBoxSig(QWidget* parent = nullptr);
    explicit TCheckBoxSig(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace stallmark
