#pragma once
// The main window's page control: one tab per list, drawn as flat buttons
// with hot tracking, on one row or wrapping onto several. Unlike a plain
// QTabWidget it can show no page at all, and every tab can be hidden.

#include <QFrame>
#include <QVector>

class QStackedWidget;
class QToolButton;
class QButtonGroup;

namespace stallmark {

// One page. Its resize event is what lays out its grid and buttons; a page's
// owner connects to `resized` (a posted size message arrives here too).
class TTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit TTabSheet(const QString& name, QWidget* parent = nullptr);
signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;
};

class TPageControl : public QFrame {
    Q_OBJECT
public:
    static constexpr int kTabHeight = 21;

    explicit TPageControl(QWidget* parent = nullptr);

    int AddPage(TTabSheet* page, const QString& caption);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Page(int index) const;
    int IndexOf(const QWidget* page) const;

    // -1: no page active.
    int ActivePageIndex() const { return active_; }
    TTabSheet* ActivePage() const { return Page(active_); }
    void SetActivePageIndex(int index);

    bool TabVisible(int index) const;
    // Hiding the active page's tab makes the next shown page active.
    void SetTabVisible(int index, bool visible);
    QString TabCaption(int index) const;
    void SetTabCaption(int index, const QString& caption);

    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width);
    int VisibleTabCount() const;
    // Rows of tabs as currently laid out.
    int TabRows() const { return tabRows_; }
    QToolButton* TabButton(int index) const;

signals:
    void resized();
    void pageChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutButtons();
    void ShowActive();
    void ShowCaption(int index);

    QWidget* tabArea_;
    QStackedWidget* stack_;
    QWidget* empty_;
    QButtonGroup* group_;
    QVector<TTabSheet*> pages_;
    QVector<QToolButton*> buttons_;
    QStringList captions_;
    int active_ = -1;
    bool multiLine_ = false;
    int tabWidth_ = 0;
    int tabRows_ = 1;
};

// Delivers a size message to the widget later, as the window system would:
// its resize handler runs once the event loop comes round.
void PostSizeMessage(QWidget* widget);

}  // namespace stallmark
