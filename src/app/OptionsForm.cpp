#include "app/OptionsForm.h"
namespace stallmark {
TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) {}
}  // namespace stallmark
