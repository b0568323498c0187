#include "app/StallmarkForm.h"
namespace stallmark {
TStallmarkForm::TStallmarkForm(const AppContext& context, QWidget* parent) : QMainWindow(parent), ctx_(context) {
    setWindowTitle("Stallmark");
}
}  // namespace stallmark
