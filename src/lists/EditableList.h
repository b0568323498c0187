#pragma once
// The base of the lists kept in the browse/edit convention (General list, smith
// prices, vendor ledger, memos): the page is either browsing or editing; Edit and New
// enter editing, Save checks and writes the file and returns to browsing, Reset
// reloads from the file. The base wires the button bar, keeps the buttons' states,
// runs operations under one error box, saves an edit still open at shutdown, and
// refuses to write a list whose file was never read whole.

#include <QObject>
#include <functional>
#include <string>

#include "lists/StoredList.h"

class QAbstractButton;

namespace stallmark {

class ListHost;

// Runs operation; an error it raises is shown in an error box with the error's own
// text and the program goes on. False when it failed.
bool RunGuarded(ListHost& host, const std::function<void()>& operation);

// Before a list writes its file: true when it was read whole at start-up (loaded, no line
// cut); otherwise says why the file is left as it is and returns false.
bool MayWriteList(ListHost& host, bool loaded, const std::string& file, bool cut = false);

class TEditableList : public QObject, public StoredList {
    Q_OBJECT
public:
    // The buttons of the page's bar; a list without one of them leaves it null.
    struct EditButtons {
        QAbstractButton* edit = nullptr;
        QAbstractButton* save = nullptr;
        QAbstractButton* reset = nullptr;
        QAbstractButton* newItem = nullptr;
        QAbstractButton* del = nullptr;
        QAbstractButton* send = nullptr;
        // New stays enabled while editing (more rows can be added), or not.
        bool newWhileEditing = true;
    };

    // file: the data file whose reading decides whether the list may be written.
    TEditableList(ListHost& host, std::string file);

    bool IsEditing() const { return editing_; }
    // The list's file was read whole at least once.
    bool Loaded() const { return loaded_; }

    // StoredList
    void SaveOpenEdit() override;

protected:
    // Connects the buttons to the handlers below and sets the browsing states.
    void WireButtons(const EditButtons& buttons);
    // The buttons' states of browsing (true) or editing, then BrowsingChanged.
    void SetBrowsing(bool browsing);
    virtual void BrowsingChanged(bool /*browsing*/) {}

    // The buttons' handlers.
    virtual void EditClick() {}
    virtual void SaveClick() {}
    virtual void ResetClick() {}
    virtual void NewClick() {}
    virtual void DeleteClick() {}
    virtual void SendClick() {}

    bool Guard(const std::function<void()>& operation) { return RunGuarded(host_, operation); }
    // Reads the list: runs read and marks the list loaded when it succeeded. An error
    // leaves the list unloaded (so never written) and is raised again; so does a line
    // that read cut (CutOnLoading), after its message has been shown once.
    void ReadWhole(const std::function<void()>& read);
    // Called by read when it had to cut lines: message says which.
    void CutOnLoading(std::string message) { cutMessage_ = std::move(message); }
    // Before any write of the file: true when the list was loaded whole; otherwise says
    // that the file is left as it is and returns false.
    bool MayWrite();

    ListHost& host_;
    const std::string file_;

private:
    EditButtons buttons_;
    bool editing_ = false;
    bool loaded_ = false;
    bool cut_ = false;
    std::string cutMessage_;
};

}  // namespace stallmark
