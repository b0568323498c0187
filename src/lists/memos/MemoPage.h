#pragma once
// The Memos page: named free texts (shop adverts, book pages, the character profile) kept
// as sections of "Memos.dat", chosen in the name box and written in the editor. Send types
// a whole memo into a book or the profile after emptying it; Repeat plays a memo line by
// line into the chat, one item per tick of the window's timer, with pauses written into
// the text, until it is stopped.

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "lists/EditableList.h"
#include "lists/TabPage.h"
#include "lists/memos/MemoFile.h"

class QLabel;
class QMenu;
class QPlainTextEdit;
class QWidget;

namespace stallmark {

class ListHost;
class TComboBoxSig;
class TPanelResize;
class TToolBtnSig;

class TMemoPage final : public TEditableList, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMemoPage)
public:
    static constexpr const char* kFileName = "Memos.dat";
    static constexpr const char* kProfileFileName = "Profile.dat";
    static constexpr int kListNumber = 10;  // "Memos Screen" of the display options
    static constexpr int kFirstSpecialChar = 127;
    static constexpr int kLastSpecialChar = 255;
    static constexpr int kSpecialCharRows = 26;  // items per column of the menu

    // Builds the page's controls on the given page widget.
    TMemoPage(ListHost& host, QWidget* page);

    // The memo store and editor.
    void LoadMemoList(const QString& name);
    void LoadMemo();
    void WriteMemoFile(bool deleting);
    int MemoLength() const;
    void StartMemoEdit();
    void EndMemoEdit();
    bool TrySetFocus(QWidget* control);
    // The editor's lines as bytes: none for an empty editor.
    std::vector<std::string> EditorLines() const;

    // Playback.
    void BuildPlayList();
    const std::vector<std::string>& PlayList() const { return playList_; }
    int PlayIndex() const { return playIndex_; }
    int PauseTicks() const { return pauseTicks_; }

    // Handlers.
    void Btn_MemoSaveClick() { WriteMemoFile(false); }
    void Btn_MemoDeleteClick() { WriteMemoFile(true); }
    void Btn_MemoCancelClick();
    void Btn_MemoNewClick();
    void Cb_MemoNameChange();
    void Memo_MemosChange() { StartMemoEdit(); }
    void Btn_MemoSendClick();
    void Mp_MemoClearClick();
    void Btn_MemoRepeatClick();
    void Btn_MemoPauseClick();
    void Popup_MemoPopup();
    void SpecialCharClick(int code);
    void Pn_MemoResize();

    QMenu* SpecialCharMenu() const { return popupMemo_; }

    // StoredList
    ListId Id() const override { return ListId::Memos; }
    void LoadList() override;
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;
    void TimerTick() override;
    void ApplyListDisplay(int number, const ListDisplay& display) override;

    // TabPage
    std::vector<StoredList*> Lists() override { return {this}; }
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget* focus) override;
    void Relayout() override { Pn_MemoResize(); }
    bool RelayoutWithTabs() const override { return false; }
    std::optional<int> ClearCountDefault() const override { return MemoLength(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void BrowsingChanged(bool browsing) override;
    void SaveClick() override { Btn_MemoSaveClick(); }
    void ResetClick() override { Btn_MemoCancelClick(); }
    void NewClick() override { Btn_MemoNewClick(); }
    void DeleteClick() override { Btn_MemoDeleteClick(); }
    void SendClick() override { Btn_MemoSendClick(); }

private:
    void BuildControls(QWidget* page);
    QString NameText() const;
    // Fills the name box from the file's content (index_ is its index), selects name and
    // shows that memo.
    void ShowMemoList(const std::string& content, const QString& name);
    void FillNameBox();
    // Shows the memo the name box names, from the file's content.
    void ShowMemo(std::string_view content);
    // Puts lines into the editor without taking that for an edit.
    void SetEditorLines(const std::vector<std::string>& lines);
    void SetLengthCaption(int length);
    void SetNameBoxSimple(bool simple);
    void SetPlaying(bool playing);
    std::string FilePath() const;

    QWidget* page_;
    TPanelResize* pnMemoBtns_ = nullptr;
    QWidget* pnMemo_ = nullptr;
    TComboBoxSig* cbName_ = nullptr;
    QPlainTextEdit* editor_ = nullptr;
    QLabel* lbLength_ = nullptr;
    TToolBtnSig* btnSend_ = nullptr;
    TToolBtnSig* btnRepeat_ = nullptr;
    TToolBtnSig* btnPause_ = nullptr;
    TToolBtnSig* btnChar_ = nullptr;
    QMenu* popupMemo_ = nullptr;
    QMenu* popupSend_ = nullptr;

    bool memoLoading_ = false;
    // Where the memos of "Memos.dat" start, as it was when last read or written (stamp_).
    memos::MemoIndex index_;
    memos::FileStamp stamp_;
    std::vector<std::string> boxNames_;  // the names in the box, in byte order
    QString lastMemo_;                   // the name to show at start-up ("LastMemo")
    std::vector<std::string> playList_;
    int playIndex_ = 0;
    int pauseTicks_ = 0;
};

}  // namespace stallmark
