#pragma once
#include <QWidget>
namespace stallmark {
class TPageControl : public QWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent = nullptr);
};
}  // namespace stallmark
