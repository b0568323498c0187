#pragma once
// "Edit List": a plain pick list edited as lines of text, one entry a line.

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QAbstractButton;

namespace stallmark {

class TEditTextForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TEditTextForm)
public:
    static constexpr int kDesignWidth = 213, kDesignHeight = 308;

    // Centred over owner.
    explicit TEditTextForm(QWidget* owner = nullptr);

    void SetLines(const QStringList& lines);
    // The memo's lines, blank ones included.
    QStringList Lines() const;

    QPlainTextEdit* Memo() const { return memo_; }
    QWidget* ButtonPanel() const { return pnBtns_; }

    void Btn_OkClick() { accept(); }
    void Btn_CancelClick() { reject(); }

private:
    QPlainTextEdit* memo_;
    QWidget* pnBtns_;
    QAbstractButton *btnOk_, *btnCancel_;
};

}  // namespace stallmark
