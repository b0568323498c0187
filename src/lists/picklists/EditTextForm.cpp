#include "lists/picklists/EditTextForm.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "controls/Icons.h"
#include "controls/ToolButton.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kButtonBarHeight = 26;

QAbstractButton* BarButton(QWidget* bar, const char* name, const char* caption, const char* hint, int image) {
    return MakeBarButton(bar, name, QString::fromLatin1(caption), image, QString::fromLatin1(hint));
}

}  // namespace

TEditTextForm::TEditTextForm(QWidget* owner) : QDialog(owner) {
    setObjectName("EditTextForm");
    setWindowTitle(u"Edit List"_s);
    resize(kDesignWidth, kDesignHeight);
    if (owner) move(owner->geometry().center() - rect().center());

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo_Edit");
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* panel = new TPanelResize(this);
    panel->setSeperators(true);
    pnBtns_ = panel;
    pnBtns_->setObjectName("Pn_Btns");
    btnOk_ = BarButton(pnBtns_, "Btn_Ok", "OK", "Confirm changes", BtnImage::Ok);
    btnCancel_ = BarButton(pnBtns_, "Btn_Cancel", "Cancel", "Cancel changes", BtnImage::Cancel);
    connect(btnOk_, &QAbstractButton::clicked, this, [this] { Btn_OkClick(); });
    connect(btnCancel_, &QAbstractButton::clicked, this, [this] { Btn_CancelClick(); });

    // The memo fills the window above the button bar.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(memo_, 1);
    pnBtns_->setFixedHeight(kButtonBarHeight);
    layout->addWidget(pnBtns_);
}

void TEditTextForm::SetLines(const QStringList& lines) { memo_->setPlainText(lines.join(u'\n')); }

QStringList TEditTextForm::Lines() const {
    QStringList lines = memo_->toPlainText().split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();  // the end of the last line
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    return lines;
}

}  // namespace stallmark
