#include "controls/CaptionedControls.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>
#include <limits>
#include <climits>

#include "controls/Dialogs.h"

namespace stallmark {

namespace {

Dialogs* g_defaultDialogs = nullptr;
bool g_refusingExit = false;  // an exit refusal is moving the focus back

bool ExplicitlyHidden(const QWidget* w) { return w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide); }

TLabelSig* MakeCaption(QWidget* control) {
    auto* label = new TLabelSig(control->parentWidget());
    label->setCaptionOwner(control);
    label->setFocusControl(control);
    if (!control->objectName().isEmpty()) label->setObjectName(control->objectName() + QStringLiteral("_Caption"));
    if (!control->parentWidget()) label->hide();
    return label;
}

void PlaceCaption(QWidget* control, TLabelSig* label, int captionLeft) {
    if (!label) return;
    const QRect g = control->geometry();
    const int height = label->sizeHint().height();
    const int left = std::max(0, g.left() - captionLeft);
    const int width = std::max(0, g.left() - left);
    const int top = g.top() + (g.height() - height) / 2;
    label->setGeometry(left, top, width, height);
}

void UpdateCaptionState(QWidget* control, TLabelSig* label, bool captionDisable) {
    if (!label) return;
    const bool visible = !label->text().isEmpty() && !ExplicitlyHidden(control) && control->parentWidget();
    label->setVisible(visible);
    if (captionDisable) {
        const bool enabled =
            control->parentWidget() ? control->isEnabledTo(control->parentWidget()) : control->isEnabled();
        if (label->isEnabledTo(label->parentWidget()) != enabled) label->setEnabled(enabled);
    }
}

// Follows the control into its new parent.
void Reparent(QWidget* control, TLabelSig* label) {
    if (!label || label->parentWidget() == control->parentWidget()) return;
    label->setParent(control->parentWidget());
}

void RenameCaption(QWidget* control, TLabelSig* label) {
    if (label && !control->objectName().isEmpty())
        label->setObjectName(control->objectName() + QStringLiteral("_Caption"));
}

}  // namespace

// --- TLabelSig ---------------------------------------------------------------

TLabelSig::TLabelSig(QWidget* parent) : QLabel(parent) {}

TLabelSig::TLabelSig(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void TLabelSig::setFocusControl(QWidget* control) {
    focusControl_ = control;
    setBuddy(control);
}

void TLabelSig::setFocused(bool focused) {
    if (focused_ == focused) return;
    focused_ = focused;
    update();
}

void TLabelSig::paintEvent(QPaintEvent* event) {
    if (!isEnabled() || textFormat() == Qt::RichText) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    const QRect r = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int flags = static_cast<int>(alignment());
    flags |= buddy() ? Qt::TextShowMnemonic : 0;
    if (wordWrap()) flags |= Qt::TextWordWrap;
    const QString t = text();
    const QColor own = palette().color(foregroundRole());
    if (focused_) {  // raised
        p.setPen(palette().color(QPalette::Highlight));
        p.drawText(r.translated(1, 1), flags, t);
        p.setPen(own);
        p.drawText(r, flags, t);
    } else {  // sunken
        p.setPen(palette().color(QPalette::Button));
        p.drawText(r, flags, t);
        p.setPen(own);
        p.drawText(r.translated(1, 1), flags, t);
    }
}

bool TLabelSig::Forward(QMouseEvent* event) {
    QWidget* control = focusControl_;
    if (!control || !control->isEnabled()) return false;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return false;
    if (event->type() == QEvent::MouseButtonPress && (control->focusPolicy() & Qt::ClickFocus))
        control->setFocus(Qt::MouseFocusReason);
    const QRect inside = control->rect();
    const QPointF local(std::clamp<qreal>(event->position().x(), inside.left(), inside.right()),
                        std::clamp<qreal>(event->position().y(), inside.top(), inside.bottom()));
    QMouseEvent forwarded(event->type(), local, control->mapToGlobal(local), event->button(), event->buttons(),
                          event->modifiers());
    QCoreApplication::sendEvent(control, &forwarded);
    return true;
}

void TLabelSig::mousePressEvent(QMouseEvent* event) {
    if (!Forward(event)) QLabel::mousePressEvent(event);
}

void TLabelSig::mouseReleaseEvent(QMouseEvent* event) {
    if (!Forward(event)) QLabel::mouseReleaseEvent(event);
}

void TLabelSig::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!Forward(event)) QLabel::mouseDoubleClickEvent(event);
}

// --- TEditLabel --------------------------------------------------------------

TEditLabel::TEditLabel(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QObject::objectNameChanged, this, [this] { RenameCaption(this, label_); });
}

TEditLabel::~TEditLabel() { delete label_.data(); }

void TEditLabel::setDefaultDialogs(Dialogs* dialogs) { g_defaultDialogs = dialogs; }

QString TEditLabel::caption() const { return label_ ? label_->text() : QString(); }

void TEditLabel::setCaption(const QString& caption) {
    if (caption.isEmpty()) {
        delete label_.data();
        return;
    }
    if (!label_) label_ = MakeCaption(this);
    label_->setText(caption);
    PlaceCaption();
    UpdateCaptionState();
}

void TEditLabel::setCaptionLeft(int pixels) {
    captionLeft_ = pixels;
    PlaceCaption();
}

void TEditLabel::setCaptionDisable(bool on) {
    captionDisable_ = on;
    UpdateCaptionState();
}

void TEditLabel::PlaceCaption() { stallmark::PlaceCaption(this, label_, captionLeft_); }

void TEditLabel::UpdateCaptionState() { stallmark::UpdateCaptionState(this, label_, captionDisable_); }

void TEditLabel::setVisible(bool visible) {
    QLineEdit::setVisible(visible);
    UpdateCaptionState();
}

bool TEditLabel::event(QEvent* event) {
    const bool result = QLineEdit::event(event);
    if (event->type() == QEvent::ParentChange) {
        Reparent(this, label_);
        PlaceCaption();
        UpdateCaptionState();
    }
    return result;
}

void TEditLabel::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    PlaceCaption();
}

void TEditLabel::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PlaceCaption();
}

void TEditLabel::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) UpdateCaptionState();
}

bool TEditLabel::Allowed(QChar ch) const {
    const char16_t u = ch.unicode();
    const bool digit = u >= '0' && u <= '9';
    switch (charFilter_) {
        case cfNormal: return true;
        case cfInteger: return digit;
        case cfNumber: return digit || u == '.';
        case cfLetter: return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == ' ';
        case cfDate: return digit || u == '/';
    }
    return true;
}

void TEditLabel::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if ((charFilter_ == cfInteger || charFilter_ == cfNumber) && plain &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        Step(event->key() == Qt::Key_Up);
        event->accept();
        return;
    }
    if (charFilter_ != cfNormal && event->matches(QKeySequence::Paste)) {
        // Pasted text goes through the same filter as typed text.
        QString pasted;
        for (QChar ch : QApplication::clipboard()->text())
            if (!ch.isPrint() || Allowed(ch)) pasted += ch;
        if (charFilter_ == cfNumber && pasted.count(QChar(u'.')) > 0) {
            const qsizetype first = pasted.indexOf(QChar(u'.'));
            pasted.remove(QChar(u'.'));
            pasted.insert(first, QChar(u'.'));
            if (text().contains(QChar(u'.')) && !selectedText().contains(QChar(u'.'))) pasted.remove(QChar(u'.'));
        }
        insert(pasted);
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (charFilter_ != cfNormal && typed.size() == 1 && typed.at(0).isPrint()) {
        const QChar ch = typed.at(0);
        if (!Allowed(ch)) {
            event->accept();  // dropped
            return;
        }
        if (charFilter_ == cfNumber && ch == QChar(u'.')) {
            TypePoint(event);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// A point typed into a number removes the point already there, so the text
// holds one at most; the caret keeps its place in the text.
void TEditLabel::TypePoint(QKeyEvent* event) {
    if (hasSelectedText()) del();  // typing replaces the selection
    const qsizetype point = text().indexOf(QChar(u'.'));
    if (point >= 0) {
        int caret = cursorPosition();
        setSelection(static_cast<int>(point), 1);
        del();
        if (point < caret) --caret;
        setCursorPosition(caret);
    }
    QLineEdit::keyPressEvent(event);
}

void TEditLabel::Step(bool up) {
    const QString t = text().trimmed();
    if (charFilter_ == cfInteger) {
        // Amounts are 64-bit: a price of several thousand million steps like any other.
        bool ok = false;
        qint64 value = t.toLongLong(&ok);
        if (!ok) value = 0;
        if (up ? value < std::numeric_limits<qint64>::max() : value > std::numeric_limits<qint64>::min())
            value += up ? 1 : -1;
        setText(QString::number(value));
    } else {
        bool ok = false;
        double value = t.toDouble(&ok);
        if (!ok) value = 0;
        value += up ? 0.5 : -0.1;
        setText(QString::asprintf("%.2f", value));
    }
    selectAll();
}

void TEditLabel::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (label_) label_->setFocused(true);
}

void TEditLabel::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (label_) label_->setFocused(false);
    // Switching to another program or opening a menu is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    // A box that is being hidden cannot take the focus back.
    if (g_refusingExit || !isVisible()) return;
    CheckExit();
}

bool TEditLabel::CheckExit() {
    const QString trimmed = text().trimmed();
    if (trimmed != text()) setText(trimmed);
    QString fault;
    if (trimmed.isEmpty()) {
        if (mandatory_) fault = QStringLiteral("Mandatory");
    } else if (charFilter_ == cfDate) {
        QString digits;
        for (QChar ch : trimmed)
            if (ch.isDigit() && ch.unicode() < 128) digits += ch;
        if (digits.size() == 6) digits.insert(4, QStringLiteral("20"));
        if (digits.size() == 8)
            setText(digits.left(2) + u'/' + digits.mid(2, 2) + u'/' + digits.right(4));
        else
            fault = QStringLiteral("Invalid");
    }
    if (fault.isEmpty()) return true;

    g_refusingExit = true;
    QString name = caption();
    name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    name.remove(QChar(u'&'));
    name.replace(QChar(u'\x01'), QChar(u'&'));
    if (Dialogs* dialogs = dialogs_ ? dialogs_ : g_defaultDialogs)
        dialogs->ShowMessageBox(name + QStringLiteral(" Is ") + fault + QStringLiteral(" !"), MsgKind::Warning, mbOK);
    setFocus(Qt::OtherFocusReason);
    g_refusingExit = false;
    emit exitRefused();
    return false;
}

void TEditLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void TEditLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

// --- TComboBoxSig ------------------------------------------------------------

TComboBoxSig::TComboBoxSig(QWidget* parent) : QComboBox(parent) {
    label_ = MakeCaption(this);
    connect(this, &QObject::objectNameChanged, this, [this] { RenameCaption(this, label_); });
    UpdateCaptionState();
}

TComboBoxSig::~TComboBoxSig() { delete label_.data(); }

QString TComboBoxSig::caption() const { return label_ ? label_->text() : QString(); }

void TComboBoxSig::setCaption(const QString& caption) {
    if (!label_) label_ = MakeCaption(this);
    label_->setText(caption);
    PlaceCaption();
    UpdateCaptionState();
}

void TComboBoxSig::setCaptionLeft(int pixels) {
    captionLeft_ = pixels;
    PlaceCaption();
}

void TComboBoxSig::setCaptionDisable(bool on) {
    captionDisable_ = on;
    UpdateCaptionState();
}

void TComboBoxSig::PlaceCaption() { stallmark::PlaceCaption(this, label_, captionLeft_); }

void TComboBoxSig::UpdateCaptionState() { stallmark::UpdateCaptionState(this, label_, captionDisable_); }

void TComboBoxSig::setVisible(bool visible) {
    QComboBox::setVisible(visible);
    UpdateCaptionState();
}

bool TComboBoxSig::event(QEvent* event) {
    const bool result = QComboBox::event(event);
    if (event->type() == QEvent::ParentChange) {
        Reparent(this, label_);
        PlaceCaption();
        UpdateCaptionState();
    }
    return result;
}

void TComboBoxSig::moveEvent(QMoveEvent* event) {
    QComboBox::moveEvent(event);
    PlaceCaption();
}

void TComboBoxSig::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    PlaceCaption();
}

void TComboBoxSig::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) UpdateCaptionState();
}

void TComboBoxSig::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (charCase_ != ecNormal && typed.size() == 1) {
        const char16_t u = typed.at(0).unicode();
        QChar changed = typed.at(0);
        if (charCase_ == ecUpperCase && u >= 'a' && u <= 'z') changed = QChar(u - 'a' + 'A');
        if (charCase_ == ecLowerCase && u >= 'A' && u <= 'Z') changed = QChar(u - 'A' + 'a');
        if (changed != typed.at(0)) {
            QKeyEvent other(event->type(), event->key(), event->modifiers(), QString(changed));
            QComboBox::keyPressEvent(&other);
            event->setAccepted(other.isAccepted());
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

void TComboBoxSig::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    if (label_) label_->setFocused(true);
}

void TComboBoxSig::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (label_) label_->setFocused(false);
}

// --- TCheckBoxSig ------------------------------------------------------------

TCheckBoxSig::TCheckBoxSig(QWidget* parent) : QCheckBox(parent) {}

TCheckBoxSig::TCheckBoxSig(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void TCheckBoxSig::paintEvent(QPaintEvent* event) {
    QCheckBox::paintEvent(event);
    if (!hasFocus() || !isEnabled() || text().isEmpty()) return;
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect r = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    QPainter p(this);
    p.setPen(palette().color(QPalette::Highlight));
    p.drawText(r.translated(1, 1), flags, text());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r, flags, text());
}

void TCheckBoxSig::focusInEvent(QFocusEvent* event) {
    QCheckBox::focusInEvent(event);
    update();
}

void TCheckBoxSig::focusOutEvent(QFocusEvent* event) {
    QCheckBox::focusOutEvent(event);
    update();
}

}  // namespace stallmark
