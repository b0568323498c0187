#pragma once
#include <QMainWindow>
#include "app/AppContext.h"
namespace stallmark {
class TStallmarkForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TStallmarkForm(const AppContext& context, QWidget* parent = nullptr);
private:
    AppContext ctx_;
};
}  // namespace stallmark
