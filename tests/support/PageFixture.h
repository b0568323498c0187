#pragma once
// One page built on a stand-in for the main window, without the window: a temporary
// data folder, memory settings, a fixed clock, scripted dialogs, game windows that
// record what they are sent, and option values the test sets directly. Start() runs
// the page's lists through start-up as the window does; Close() runs shutdown.

#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>
#include <optional>
#include <ostream>

#include "controls/ToolButton.h"
#include "game/FakeGameWindows.h"
#include "game/GameKeyboard.h"
#include "game/GameLink.h"
#include "lists/GameQuestions.h"
#include "lists/ListDisplay.h"
#include "lists/ListHost.h"
#include "lists/ListRegistry.h"
#include "lists/StoredList.h"
#include "lists/TabPage.h"
#include "settings/MemorySettings.h"
#include "store/Clock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

// Readable failures for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace stallmark::test {

class FakeHost : public ListHost {
public:
    TempDir dir;
    MemorySettings settings;
    FixedClock clock{EncodeDateTime(2026, 12, 8, 10, 30, 0)};
    ScriptedDialogs dialogs;
    FakeGameWindows windows;
    CountingPacer pacer{&windows};
    SharedState state;
    OptionsSnapshot options;
    std::string windowName = "Ultima Online -";
    std::string charDelay = "0";
    GameLink link{windows, pacer,
                  GameLinkOptions{[this] { return windowName; }, [this] { return charDelay; },
                                  [this] { return state.MemoPlaying; }}};
    GameKeyboard keyboard{link};
    // The default answer of "Clear book or profile" the page shown offers; none: "BackSpc".
    std::optional<int> clearDefault;
    int relayouts = 0;
    QWidget window;
    QWidget* page = nullptr;  // the page widget the page under test is built on

    FakeHost() {
        window.resize(338, 500);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        page = new QWidget(&window);
        page->setObjectName(QStringLiteral("Page"));
        layout->addWidget(page);
    }

    Dialogs& HostDialogs() override { return dialogs; }
    const Clock& HostClock() override { return clock; }
    SettingsStore& HostSettings() override { return settings; }
    Pacer& HostPacer() override { return pacer; }
    SharedState& State() override { return state; }
    std::string DataFilePath(const std::string& name) override { return dir.File(name); }
    const OptionsSnapshot& OptionValues() override { return options; }
    QWidget* HostWindow() override { return &window; }
    GameKeyboard& Keyboard() override { return keyboard; }
    bool ConfirmGamePosition() override { return AskGamePosition(dialogs); }
    bool ClearBookOrProfile(TypingSession* session = nullptr) override {
        const QString answer =
            clearDefault ? QString::number(*clearDefault) : QString::fromStdString(options.backSpcText);
        return AskAndClearBookOrProfile(dialogs, keyboard, answer, session);
    }
    void RelayoutPages() override { ++relayouts; }
};

// A page of type Page built on the fake host. Build it with the page's own constructor
// arguments after (host, page widget), then Start().
template <typename Page>
class PageFixture : public FakeHost {
public:
    std::unique_ptr<Page> tab;
    ListRegistry registry;
    WindowHandle game = 0;

    template <typename... Args>
    Page& Build(Args&&... args) {
        tab = std::make_unique<Page>(*this, page, std::forward<Args>(args)...);
        for (StoredList* list : tab->Lists()) registry.Add(list);
        return *tab;
    }

    // Start-up as the window runs it: settings, files, display options, then shown.
    void Start() {
        game = windows.AddWindow("Ultima Online", "Ultima Online - Ann");
        registry.ForEach(ListRegistry::Phase::ReadSettings, [this](StoredList& l) { l.LoadSettings(settings); });
        registry.ForEach(ListRegistry::Phase::Load, [](StoredList& l) { l.LoadList(); });
        for (int number = 1; number <= kListCount; ++number) {
            const ListDisplay display = LoadListDisplay(settings, number);
            registry.ForEach(ListRegistry::Phase::Load, [&](StoredList& l) { l.ApplyListDisplay(number, display); });
        }
        // The button options reach every button bar of the page, as the window's do.
        for (TPanelResize* panel : window.findChildren<TPanelResize*>())
            ApplyPanelButtonOptions(panel, options.buttons);
        registry.ForEach(ListRegistry::Phase::Show, [](StoredList& l) { l.ShowList(); });
        window.show();
        state.Ready = true;
        QCoreApplication::sendPostedEvents();
    }

    // Shutdown as the window runs it: settings written, open edits saved.
    void Close() {
        registry.ForEach(ListRegistry::Phase::WriteSettings, [this](StoredList& l) { l.SaveSettings(settings); });
        registry.ForEach(ListRegistry::Phase::SaveOpenEdit, [](StoredList& l) { l.SaveOpenEdit(); });
    }

    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i)
            registry.ForEach(ListRegistry::Phase::Tick, [](StoredList& l) { l.TimerTick(); });
    }

    template <typename T>
    T* Find(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace stallmark::test
