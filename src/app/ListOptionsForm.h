#pragma once
// "List Options": font, colours and grid lines of one list. The dialog is
// its own preview: the panel shows the background colour, the captions the
// text colour and the four buttons the font.

#include <QDialog>

#include "lists/ListDisplay.h"

class QLabel;
class QLineEdit;
class QCheckBox;
class QPushButton;
class QFrame;

namespace stallmark {

class SettingsStore;
class Dialogs;

class TListOptionsForm : public QDialog {
    Q_OBJECT
public:
    TListOptionsForm(SettingsStore& settings, Dialogs& dialogs, QWidget* parent = nullptr);

    // Caption, identifier and layout of the list, then its stored values.
    void SelectList(int number);
    int ListNumber() const { return number_; }
    // The values as the dialog shows them now.
    const ListDisplay& Display() const { return display_; }

    void ColourChange(QPushButton* button);
    void FontChanged();
    void SaveListOptions();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowDisplay();
    void LayoutControls();

    SettingsStore& settings_;
    Dialogs& dialogs_;
    int number_ = 0;
    int buttonsTop_ = 104;
    int designHeight_ = 160;
    ListDisplay display_;
    QFrame* panel_;
    QLabel *lbFont_, *lbSize_;
    QLineEdit *edFontName_, *edFontSize_;
    QPushButton *btnTextCol_, *btnBackCol_, *btnOk_, *btnCancel_;
    QCheckBox *ckbLineRow_, *ckbLineCol_;
};

}  // namespace stallmark
