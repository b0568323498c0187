#include "WindowBench.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "BenchSupport.h"

namespace stallmark::bench {

double BenchWindow::Start() {
    buttons_.clear();
    const double start = NowMs();
    form = std::make_unique<TStallmarkForm>(Context());
    form->show();
    QCoreApplication::sendPostedEvents();
    form->repaint();
    return NowMs() - start;
}

void BenchWindow::Painted() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
}

void BenchWindow::Close() {
    if (form) form->close();
    form.reset();
    buttons_.clear();
}

void BenchWindow::Click(const char* name) {
    QPointer<QAbstractButton>& found = buttons_[name];
    if (found.isNull()) found = Need<QAbstractButton>(name);
    QAbstractButton* b = found.data();
    if (!b->isEnabled()) throw std::runtime_error(std::string(name) + " is disabled");
    b->click();
}

QAction* BenchWindow::OpenMenu(const char* item) {
    QMenu* menu = Need<QMenu>("Popup_Prices");
    menu->popup(form->mapToGlobal(form->rect().center()));
    QAction* action = form->findChild<QAction*>(QString::fromLatin1(item));
    if (action == nullptr || !action->isVisible() || !action->isEnabled())
        throw std::runtime_error(std::string("no menu item ") + item);
    return action;
}

void BenchWindow::ChooseMenuItem(QAction* item) {
    Need<QMenu>("Popup_Prices")->hide();
    item->trigger();
}

void EnsureApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

}  // namespace stallmark::bench
