#pragma once
#include <QDialog>
namespace stallmark {
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* parent = nullptr);
};
}  // namespace stallmark
