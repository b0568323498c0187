#pragma once
// The main window's page control: one tab per list, drawn as flat buttons
// with hot tracking, on one row or wrapping onto several. Unlike a plain
// QTabWidget it can show no page at all, and every tab can be hidden.
//
// Tab width: the window sets one width for every tab (SetTabWidth), but a tab
// is never narrower than its caption needs in the tabs' font. On one row, when
// the captions together need more than the row, the widest are shortened
// with an ellipsis (down to the set width) until the row holds them all;
// several rows hold as many tabs as fit, each tab at most a row wide. A
// shortened caption is the tab's tooltip. Showing, hiding or renaming a tab
// lays the tabs out again at once and tells the window (`resized`), so that
// it can work out the width again for the tabs now shown.

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
    // The width a tab's caption needs, and the width the tab has now.
    int CaptionWidth(int index) const;
    int TabShownWidth(int index) const;
    // The caption as the tab shows it (shortened with an ellipsis when it has
    // less room than it needs).
    QString TabShownCaption(int index) const;
    int VisibleTabCount() const;
    // Rows of tabs as currently laid out.
    int TabRows() const { return tabRows_; }
    QToolButton* TabButton(int index) const;

signals:
    void resized();
    void pageChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void LayoutButtons();
    void ShowActive();
    void TabsChanged();

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
