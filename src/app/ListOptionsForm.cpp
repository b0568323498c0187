#include "app/ListOptionsForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QApplication>
#include <algorithm>

#include "controls/DialogWindow.h"
#include "controls/Dialogs.h"
#include "settings/SettingsStore.h"

namespace stallmark {

using namespace Qt::StringLiterals;

TListOptionsForm::TListOptionsForm(SettingsStore& settings, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
    setObjectName("ListOptionsForm");
    setWindowTitle(u"List Options"_s);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    panel_ = new QFrame(this);
    panel_->setObjectName("Pn_ListOptions");
    panel_->setAutoFillBackground(true);
    panel_->setGeometry(0, 0, 218, 160);

    lbFont_ = new QLabel(u"List Font"_s, panel_);
    lbFont_->setObjectName("Lb_FontName");
    lbFont_->setGeometry(8, 8, 60, 16);
    edFontName_ = new QLineEdit(panel_);
    edFontName_->setObjectName("Ed_FontName");
    edFontName_->setReadOnly(true);
    edFontName_->setGeometry(70, 6, 140, 21);
    edFontName_->setText(u"Small Fonts"_s);
    lbSize_ = new QLabel(u"Size"_s, panel_);
    lbSize_->setObjectName("Lb_FontSize");
    lbSize_->setGeometry(8, 32, 60, 16);
    edFontSize_ = new QLineEdit(panel_);
    edFontSize_->setObjectName("Ed_FontSize");
    edFontSize_->setReadOnly(true);
    edFontSize_->setGeometry(70, 30, 40, 21);
    edFontSize_->setText(u"7"_s);
    for (QWidget* w : {static_cast<QWidget*>(lbFont_), static_cast<QWidget*>(lbSize_),
                       static_cast<QWidget*>(edFontName_), static_cast<QWidget*>(edFontSize_)}) {
        w->installEventFilter(this);
        w->setCursor(Qt::PointingHandCursor);
    }

    btnTextCol_ = new QPushButton(u"List Text Colour"_s, panel_);
    btnTextCol_->setObjectName("Btn_TextColour");
    btnTextCol_->setGeometry(8, 56, 100, 23);
    btnBackCol_ = new QPushButton(u"List Background Colour"_s, panel_);
    btnBackCol_->setObjectName("Btn_BackColour");
    btnBackCol_->setGeometry(110, 56, 100, 23);
    connect(btnTextCol_, &QPushButton::clicked, this, [this] { ColourChange(btnTextCol_); });
    connect(btnBackCol_, &QPushButton::clicked, this, [this] { ColourChange(btnBackCol_); });

    ckbLineRow_ = new QCheckBox(u"List Line Rows"_s, panel_);
    ckbLineRow_->setObjectName("Ckb_LineRow");
    ckbLineRow_->setGeometry(8, 83, 100, 17);
    ckbLineRow_->setChecked(true);
    ckbLineCol_ = new QCheckBox(u"List Line Cols"_s, panel_);
    ckbLineCol_->setObjectName("Ckb_LineCol");
    ckbLineCol_->setGeometry(110, 83, 100, 17);
    ckbLineCol_->setChecked(true);

    btnOk_ = new QPushButton(u"OK"_s, panel_);
    btnOk_->setObjectName("Btn_Ok");
    btnCancel_ = new QPushButton(u"Cancel"_s, panel_);
    btnCancel_->setObjectName("Btn_Cancel");
    connect(btnOk_, &QPushButton::clicked, this, [this] {
        try {
            SaveListOptions();
        } catch (const std::exception& e) {
            // The dialog stays open; Cancel still backs out.
            dialogs_.ShowMessageBox(QString::fromLocal8Bit(e.what()), MsgKind::Error, mbOK);
            return;
        }
        done(QDialog::Accepted);
    });
    connect(btnCancel_, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

void TListOptionsForm::SelectList(int number) {
    const ListInfo& info = ListByNumber(number);
    number_ = info.number;
    setWindowTitle(QString::fromLatin1(info.caption));
    ckbLineRow_->setVisible(info.hasGridLines);
    ckbLineCol_->setVisible(info.hasGridLines);
    buttonsTop_ = info.hasGridLines ? 104 : 83;
    designHeight_ = info.hasGridLines ? 160 : 142;

    ListDisplay current;
    current.lineCols = ckbLineCol_->isChecked();
    current.lineRows = ckbLineRow_->isChecked();
    current.fontName = edFontName_->text();
    bool ok = false;
    const int size = edFontSize_->text().toInt(&ok);
    current.fontSize = ok ? size : 0;
    display_ = LoadListDisplay(settings_, number_, current);
    ShowDisplay();
}

void TListOptionsForm::ShowDisplay() {
    ckbLineCol_->setChecked(display_.lineCols);
    ckbLineRow_->setChecked(display_.lineRows);
    edFontName_->setText(display_.fontName);
    edFontSize_->setText(QString::number(display_.fontSize));

    QPalette back = panel_->palette();
    back.setColor(QPalette::Window, display_.Back());
    panel_->setPalette(back);
    const QColor text = display_.Text();
    for (QWidget* w : std::initializer_list<QWidget*>{lbFont_, lbSize_, btnTextCol_, btnBackCol_, ckbLineRow_,
                                                      ckbLineCol_, btnOk_, btnCancel_}) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
        w->setPalette(p);
    }
    const QFont font = display_.Font();
    for (QPushButton* b : {btnTextCol_, btnBackCol_, btnOk_, btnCancel_}) b->setFont(font);
    LayoutControls();
}

// The design places, each control widened to its text where the text needs
// more (a larger system font, a large list font on the buttons), the second
// column moved right to make room, and the dialog as wide as its controls
// and its title need.
void TListOptionsForm::LayoutControls() {
    auto wide = [](QWidget* w, int design) { return std::max(design, w->sizeHint().width()); };
    auto high = [](QWidget* w, int design) { return std::max(design, w->sizeHint().height()); };
    constexpr int left = 8, gap = 2;

    const int labelWidth = std::max(wide(lbFont_, 60), wide(lbSize_, 60));
    const int fieldLeft = std::max(70, left + labelWidth + gap);
    lbFont_->setGeometry(left, 8, labelWidth, high(lbFont_, 16));
    edFontName_->setGeometry(fieldLeft, 6, 140, 21);
    lbSize_->setGeometry(left, 32, labelWidth, high(lbSize_, 16));
    edFontSize_->setGeometry(fieldLeft, 30, 40, 21);

    const bool lines = ckbLineRow_->isVisibleTo(this);
    const int firstWidth = std::max({wide(btnTextCol_, 100), lines ? wide(ckbLineRow_, 100) : 0, wide(btnOk_, 100)});
    const int secondLeft = std::max(110, left + firstWidth + gap);
    const int secondWidth =
        std::max({wide(btnBackCol_, 100), lines ? wide(ckbLineCol_, 100) : 0, wide(btnCancel_, 100)});
    const int colourHeight = std::max(high(btnTextCol_, 23), high(btnBackCol_, 23));
    btnTextCol_->setGeometry(left, 56, firstWidth, colourHeight);
    btnBackCol_->setGeometry(secondLeft, 56, secondWidth, colourHeight);
    int y = 56 + colourHeight + 4;
    if (lines) {
        const int boxHeight = std::max(high(ckbLineRow_, 17), high(ckbLineCol_, 17));
        ckbLineRow_->setGeometry(left, y, firstWidth, boxHeight);
        ckbLineCol_->setGeometry(secondLeft, y, secondWidth, boxHeight);
        y += boxHeight + 4;
    }
    const int buttonsTop = std::max(buttonsTop_, y);
    const int buttonHeight = std::max(high(btnOk_, 25), high(btnCancel_, 25));
    btnOk_->setGeometry(left, buttonsTop, firstWidth, buttonHeight);
    btnCancel_->setGeometry(secondLeft, buttonsTop, secondWidth, buttonHeight);

    const int width = std::max(
        {218, secondLeft + secondWidth + left, fieldLeft + 140 + left, TitleRoom(windowTitle(), QApplication::font())});
    const int height = std::max(designHeight_, buttonsTop + buttonHeight + (designHeight_ - buttonsTop_ - 25));
    setFixedSize(width, height);
    panel_->setGeometry(0, 0, width, height);
}

void TListOptionsForm::ColourChange(QPushButton* button) {
    const bool isText = button == btnTextCol_;
    QColor colour = isText ? display_.Text() : display_.Back();
    if (!dialogs_.PickColor(colour)) return;
    (isText ? display_.textColour : display_.backColour) = ValueFromColour(colour);
    ShowDisplay();
}

void TListOptionsForm::FontChanged() {
    QFont font = display_.Font();
    if (!dialogs_.PickFont(font)) return;
    display_.fontName = font.family();
    display_.fontSize = std::max(font.pointSize(), 2);
    ShowDisplay();
}

void TListOptionsForm::SaveListOptions() {
    display_.lineCols = ckbLineCol_->isChecked();
    display_.lineRows = ckbLineRow_->isChecked();
    SaveListDisplay(settings_, number_, display_);
}

bool TListOptionsForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        FontChanged();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace stallmark
