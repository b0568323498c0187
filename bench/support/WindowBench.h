#pragma once
// The real main window for the benchmarks, built as the tests build it (temporary
// data folder, memory settings, fixed clock, scripted boxes, recorded game windows),
// and driven as a player drives it: widgets found by their object names, buttons
// pressed, boxes changed.

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/AppFixture.h"

namespace stallmark::bench {

struct BenchWindow : test::AppFixture {
    std::unique_ptr<TStallmarkForm> form;

    // Builds the window on the data folder, shows it and paints it once; the
    // milliseconds from the start of the build to the end of that first paint.
    double Start();
    // Lets the window handle what the last action left pending: layout, then the
    // paint of everything that changed, as the event loop would do next.
    void Painted();
    void Close();

    template <typename T>
    T* Need(const char* name) {
        T* w = test::Find<T>(form.get(), name);
        if (w == nullptr) throw std::runtime_error(std::string("no widget named ") + name);
        return w;
    }
    // Presses the button of that name, as a click would; the button is looked for once
    // per window, so that the search through the window's widgets is not timed with
    // what the press does.
    void Click(const char* name);
    // Right click: opens the window's popup menu; returns its item of that name.
    QAction* OpenMenu(const char* item);
    // A click on an item of the open menu: the menu closes, the item runs.
    void ChooseMenuItem(QAction* item);

private:
    std::map<std::string, QPointer<QAbstractButton>, std::less<>> buttons_;
};

// Makes sure a QApplication exists on the offscreen platform (unless one is set).
void EnsureApplication(int& argc, char** argv);

}  // namespace stallmark::bench
