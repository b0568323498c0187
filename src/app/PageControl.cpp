#include "app/PageControl.h"
namespace stallmark {
TPageControl::TPageControl(QWidget* parent) : QWidget(parent) {}
}  // namespace stallmark
