#include "lists/memos/MemoPage.h"

#include <QAction>
#include <QCollator>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <algorithm>
#include <optional>

#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "game/GameWindows.h"
#include "lists/ListDisplay.h"
#include "lists/ListHost.h"
#include "lists/memos/MemoFile.h"
#include "settings/SettingValues.h"
#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kBoxHeight = 21;
constexpr int kSmallButtonWidth = 22;
constexpr int kMaxDropDownItems = 20;

bool Blank(const QString& text) { return IsBlank(ToBytes(text)); }

QString TrimmedName(const QString& text) { return FromBytes(Trim(ToBytes(text))); }

std::string JoinLines(const std::vector<std::string>& lines, std::string_view end) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += end;
        text += lines[i];
    }
    return text;
}

// The names in the order of the name box: letter case ignored, the system's collation.
QStringList SortedNames(const std::vector<std::string>& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    struct Entry {
        QString name;
        QCollatorSortKey key;
    };
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (const std::string& name : names) {
        QString text = FromBytes(name);
        QCollatorSortKey key = collator.sortKey(text.toCaseFolded());
        entries.push_back({std::move(text), std::move(key)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    QStringList out;
    out.reserve(static_cast<qsizetype>(entries.size()));
    for (Entry& entry : entries) out << std::move(entry.name);
    return out;
}

}  // namespace

TMemoPage::TMemoPage(ListHost& host, QWidget* page) : TEditableList(host, kFileName), page_(page) {
    setObjectName(u"MemoList"_s);
    BuildControls(page);
}

void TMemoPage::BuildControls(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    pnMemoBtns_ = new TPanelResize(page);
    pnMemoBtns_->setObjectName(u"Pn_MemoBtns"_s);
    pnMemoBtns_->setFixedHeight(28);
    layout->addWidget(pnMemoBtns_);
    EditButtons bar;
    bar.save = MakeBarButton(pnMemoBtns_, "Btn_MemoSave", u"Save"_s, BtnImage::Save, u"Save current memo"_s);
    bar.reset = MakeBarButton(pnMemoBtns_, "Btn_MemoCancel", u"Reset"_s, BtnImage::Reset, u"Reset (Cancel changes)"_s);
    bar.newItem = MakeBarButton(pnMemoBtns_, "Btn_MemoNew", u"New"_s, BtnImage::New, u"Create a new memo"_s);
    bar.del = MakeBarButton(pnMemoBtns_, "Btn_MemoDelete", u"Delete"_s, BtnImage::Delete, u"Delete current memo"_s);
    btnSend_ = MakeBarButton(pnMemoBtns_, "Btn_MemoSend", u"Send"_s, BtnImage::Send, u"Send memo to game"_s);
    bar.send = btnSend_;
    bar.newWhileEditing = false;

    popupSend_ = new QMenu(page);
    popupSend_->setObjectName(u"Popup_MemoSend"_s);
    QAction* sendItem = popupSend_->addAction(u"Send To Game"_s);
    sendItem->setObjectName(u"Mp_MemoSend"_s);
    QAction* clearItem = popupSend_->addAction(u"Clear Book/Profile"_s);
    clearItem->setObjectName(u"Mp_MemoClear"_s);
    btnSend_->setDropdownMenu(popupSend_);
    btnSend_->setDropdownCombo(true);

    pnMemo_ = new QWidget(page);
    pnMemo_->setObjectName(u"Pn_Memo"_s);
    pnMemo_->setFixedHeight(kBoxHeight + 4);
    layout->addWidget(pnMemo_);
    cbName_ = new TComboBoxSig(pnMemo_);
    cbName_->setObjectName(u"Cb_MemoName"_s);
    cbName_->setCaption(u"Name"_s);
    cbName_->setEditable(false);
    cbName_->setInsertPolicy(QComboBox::NoInsert);
    cbName_->addItem(u"(None)"_s);  // even when the memos can't be read
    cbName_->setCurrentIndex(-1);
    auto smallButton = [this](const char* name, int image, const QString& hint) {
        TToolBtnSig* button = MakeBarButton(pnMemo_, name, QString(), -1, hint);
        button->setGlyph(ImageList_Btn().Pixmap(image));
        button->setFixedSize(kSmallButtonWidth, kBoxHeight);
        return button;
    };
    btnRepeat_ = smallButton("Btn_MemoRepeat", BtnImage::Repeat, u"Send to game and repeat"_s);
    btnPause_ = smallButton("Btn_MemoPause", BtnImage::Pause, u"Insert a pause"_s);
    btnChar_ = smallButton("Btn_MemoChar", BtnImage::SpecialChar, u"Insert a special character"_s);
    popupMemo_ = new QMenu(page);
    popupMemo_->setObjectName(u"Popup_Memo"_s);
    btnChar_->setDropdownMenu(popupMemo_);
    btnChar_->setDropdownArrow(false);
    SetPopupHandler(popupMemo_, [this](QMenu*, QWidget*) {
        Popup_MemoPopup();
        return true;
    });
    connect(popupMemo_, &QMenu::aboutToShow, this, [this] { Popup_MemoPopup(); });
    lbLength_ = new QLabel(u"(0000)"_s, pnMemo_);
    lbLength_->setObjectName(u"Lb_MemoLength"_s);
    lbLength_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    editor_ = new QPlainTextEdit(page);
    editor_->setObjectName(u"Memo_Memos"_s);
    editor_->setReadOnly(true);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setTabChangesFocus(false);  // Tab types a Tab character
    layout->addWidget(editor_, 1);

    WireButtons(bar);
    connect(cbName_, &QComboBox::activated, this, [this] { Cb_MemoNameChange(); });
    connect(cbName_, &QComboBox::editTextChanged, this, [this] {
        if (cbName_->isEditable()) Cb_MemoNameChange();
    });
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] { Memo_MemosChange(); });
    connect(sendItem, &QAction::triggered, this, [this] { Btn_MemoSendClick(); });
    connect(clearItem, &QAction::triggered, this, [this] { Mp_MemoClearClick(); });
    connect(btnRepeat_, &QAbstractButton::clicked, this, [this] { Btn_MemoRepeatClick(); });
    connect(btnPause_, &QAbstractButton::clicked, this, [this] { Btn_MemoPauseClick(); });
    connect(btnChar_, &QAbstractButton::clicked, this, [this] { Btn_MemoPauseClick(); });
    pnMemo_->installEventFilter(this);
}

std::string TMemoPage::FilePath() const { return host_.DataFilePath(kFileName); }

QString TMemoPage::NameText() const { return cbName_->currentText(); }

void TMemoPage::SetLengthCaption(int length) { lbLength_->setText(u'(' + QString::number(length) + u')'); }

void TMemoPage::SetEditorLines(const std::vector<std::string>& lines) {
    // Text the editor shows already stays, with its caret and scrolling (a memo just saved).
    if (!lines.empty() && lines == EditorLines()) return;
    const bool wasLoading = memoLoading_;
    memoLoading_ = true;
    editor_->setPlainText(FromBytes(JoinLines(lines, "\n")));
    memoLoading_ = wasLoading;
}

std::vector<std::string> TMemoPage::EditorLines() const {
    std::vector<std::string> lines;
    const QTextDocument* document = editor_->document();
    if (document->isEmpty()) return lines;
    // Block by block: the document's plain text would turn no-break spaces into blanks.
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (const QString& part : block.text().split(QChar::LineSeparator)) lines.push_back(ToBytes(part));
    return lines;
}

int TMemoPage::MemoLength() const { return memos::MemoLength(EditorLines()); }

bool TMemoPage::TrySetFocus(QWidget* control) {
    if (control == nullptr) return false;
    if (control->isEnabled() && control->isVisible() && control->focusPolicy() != Qt::NoFocus) control->setFocus();
    return control->hasFocus();
}

void TMemoPage::SetNameBoxSimple(bool simple) {
    if (cbName_->isEditable() == simple) return;
    cbName_->setEditable(simple);
    if (!simple) return;
    cbName_->setInsertPolicy(QComboBox::NoInsert);
    cbName_->setCompleter(nullptr);
    cbName_->lineEdit()->setMaxLength(memos::kMaxNameLength);
}

// --- the list and the editor ---------------------------------------------------------

void TMemoPage::LoadMemoList(const QString& name) {
    const std::string path = FilePath();
    std::string content;
    ReadWhole([&] {
        // A profile of the older single-memo form becomes the first memo, once.
        const std::string profile = host_.DataFilePath(kProfileFileName);
        if (FileExists(profile) && !FileExists(path)) {
            ReplaceFileAtomically(path, memos::ProfileAsMemos(ReadFileBytes(profile)));
            RemoveFile(profile);
        }
        if (FileExists(path)) content = memos::ReadWholeFile(path);
        index_ = memos::MemoIndex::Of(content);
        stamp_ = memos::StampOf(path);
    });
    ShowMemoList(content, name);
}

void TMemoPage::FillNameBox() {
    std::vector<std::string> names = index_.Names();
    std::sort(names.begin(), names.end());
    // The same names as the box holds: it stays as it is.
    if (names == boxNames_ && cbName_->count() == static_cast<int>(names.size()) + 1) return;
    boxNames_ = names;
    cbName_->clear();
    QStringList items = SortedNames(names);
    items.prepend(u"(None)"_s);
    cbName_->addItems(items);
    cbName_->setMaxVisibleItems(std::clamp(static_cast<int>(items.size()), 1, kMaxDropDownItems));
}

void TMemoPage::ShowMemoList(const std::string& content, const QString& name) {
    SetNameBoxSimple(false);
    FillNameBox();
    int index = -1;
    const QString wanted = TrimmedName(name);
    if (!wanted.isEmpty()) {
        // The memo of exactly that name, else one that differs only in letter case.
        index = cbName_->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) index = cbName_->findText(wanted, Qt::MatchFixedString);
    }
    if (index == 0) index = -1;  // "(None)" stands for no memo
    cbName_->setCurrentIndex(index);
    if (index > 0) {
        ShowMemo(content);
    } else {
        SetEditorLines({});
        SetLengthCaption(0);
    }
    editor_->setReadOnly(Blank(NameText()));
    EndMemoEdit();
}

void TMemoPage::ShowMemo(std::string_view content) {
    const std::string name = Trim(ToBytes(NameText()));
    if (name.empty()) return;
    std::vector<std::string> lines;
    if (const memos::MemoIndex::Section* section = index_.Find(name))
        lines = memos::MemoLines(content.substr(section->begin, index_.End(*section) - section->begin), name);
    SetEditorLines(lines);
    editor_->setReadOnly(false);
    SetLengthCaption(MemoLength());
}

void TMemoPage::LoadMemo() {
    const std::string path = FilePath();
    const std::string name = Trim(ToBytes(NameText()));
    if (name.empty() || !FileExists(path)) return;
    SetEditorLines({});
    // Unchanged since it was last read, the file is read at the memo only.
    if (memos::StampOf(path) == stamp_) {
        const memos::MemoIndex::Section* section = index_.Find(name);
        bool found = section == nullptr;  // no such memo: nothing to read
        std::vector<std::string> lines;
        if (section != nullptr)
            lines = memos::MemoLines(memos::ReadFilePart(path, section->begin, index_.End(*section) - section->begin),
                                     name, &found);
        if (found) {
            SetEditorLines(lines);
            editor_->setReadOnly(false);
            SetLengthCaption(MemoLength());
            return;
        }
    }
    // Changed meanwhile: read whole again.
    const std::string content = memos::ReadWholeFile(path);
    index_ = memos::MemoIndex::Of(content);
    stamp_ = memos::StampOf(path);
    ShowMemo(content);
}

void TMemoPage::Cb_MemoNameChange() {
    if (!cbName_->isEditable()) {
        if (cbName_->currentIndex() == 0) {
            cbName_->setCurrentIndex(-1);
            SetEditorLines({});
            SetLengthCaption(0);
        } else {
            Guard([this] { LoadMemo(); });
        }
    }
    // While a new memo is being named nothing is loaded.
    editor_->setReadOnly(Blank(NameText()));
}

void TMemoPage::StartMemoEdit() {
    if (memoLoading_ || IsEditing()) return;
    SetBrowsing(false);
}

void TMemoPage::EndMemoEdit() {
    if (!IsEditing()) return;
    SetBrowsing(true);
}

void TMemoPage::BrowsingChanged(bool browsing) {
    if (browsing) {
        SetNameBoxSimple(false);
        cbName_->setEnabled(true);
    } else if (!cbName_->isEditable()) {
        cbName_->setEnabled(false);  // another memo can't be picked while one is edited
    }
}

void TMemoPage::Btn_MemoNewClick() {
    SetEditorLines({});
    cbName_->setCurrentIndex(-1);
    cbName_->clear();  // the names come back with the next list
    SetNameBoxSimple(true);
    cbName_->setEditText(QString());
    SetLengthCaption(0);
    StartMemoEdit();
    Cb_MemoNameChange();
    TrySetFocus(cbName_);
}

void TMemoPage::Btn_MemoCancelClick() {
    const QString name = NameText();
    Guard([&] { LoadMemoList(name); });
}

void TMemoPage::WriteMemoFile(bool deleting) {
    Dialogs& dialogs = host_.HostDialogs();
    const std::string name = Trim(ToBytes(NameText()));
    if (name.empty()) {
        if (deleting) return;  // no memo is shown: nothing to delete
        if (dialogs.ShowMessageBox(u"Memo has no name and will not be saved, proceed ?"_s, MsgKind::Confirmation,
                                   mbYes | mbNo) != mbYes) {
            TrySetFocus(cbName_);
            return;
        }
        SetEditorLines({});
        SetLengthCaption(0);
        Guard([this] { LoadMemoList(QString()); });
        EndMemoEdit();
        return;
    }

    int caretLine = 0, caretColumn = 0;
    if (deleting) {
        if (dialogs.ShowMessageBox(u"Delete the current memo ?"_s, MsgKind::Confirmation, mbYes | mbNo) != mbYes)
            return;
    } else {
        const int start = editor_->textCursor().selectionStart();
        const QTextBlock block = editor_->document()->findBlock(start);
        caretLine = block.blockNumber();
        caretColumn = start - block.position();
    }
    if (!MayWrite()) return;

    const bool isNew = cbName_->isEditable();
    bool cancelled = false;
    std::string content;
    const bool written = Guard([&] {
        const std::string path = FilePath();
        const std::string old = FileExists(path) ? memos::ReadWholeFile(path) : std::string();
        memos::MemoIndex index = memos::MemoIndex::Of(old);
        if (!deleting && isNew && index.Find(name) != nullptr &&
            dialogs.ShowMessageBox(u"A memo named "_s + FromBytes(name) + u" already exists, replace it ?"_s,
                                   MsgKind::Confirmation, mbYes | mbNo) != mbYes) {
            cancelled = true;
            return;
        }
        const std::vector<std::string> lines = EditorLines();
        memos::MemoEdit edit = memos::EditMemo(old, index, name, deleting ? nullptr : &lines);
        // The new content goes whole to "Memos.tmp" and then takes the place of
        // "Memos.dat": a save that fails leaves the file as it was.
        if (edit.changed) ReplaceFileAtomically(path, edit.content, WorkingCopyPath(path, "tmp"));
        content = std::move(edit.content);
        index_ = std::move(index);
        stamp_ = memos::StampOf(path);
    });
    if (cancelled) {
        TrySetFocus(cbName_);
        return;
    }
    if (!written) return;  // the edit stays open, the file as it was

    if (deleting) SetEditorLines({});
    SetLengthCaption(MemoLength());
    ShowMemoList(content, deleting ? QString() : FromBytes(name));
    if (!deleting) {
        QTextDocument* document = editor_->document();
        const QTextBlock block = document->findBlockByNumber(std::min(caretLine, document->blockCount() - 1));
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + std::clamp(caretColumn, 0, std::max(block.length() - 1, 0)));
        editor_->setTextCursor(cursor);
        editor_->ensureCursorVisible();
    }
    EndMemoEdit();
}

// --- sending and playback ----------------------------------------------------------------

void TMemoPage::Btn_MemoSendClick() {
    // One typist from the first backspace to the last character of the memo.
    std::optional<TypingSession> session = host_.Keyboard().BeginTyping();
    if (!session) {
        host_.HostDialogs().Beep();  // another send is typing
        return;
    }
    if (!host_.ClearBookOrProfile(&*session)) return;
    host_.HostPacer().Sleep(100);
    session->SendToGame(JoinLines(EditorLines(), "\r\n"), false, 0);
}

void TMemoPage::Mp_MemoClearClick() { host_.ClearBookOrProfile(); }

void TMemoPage::BuildPlayList() { playList_ = memos::BuildPlayList(EditorLines()); }

void TMemoPage::SetPlaying(bool playing) {
    btnPause_->setToolTip(playing ? u"Stop Memo Playing"_s : u"Insert a pause"_s);
    btnPause_->setGlyph(ImageList_Btn().Pixmap(playing ? BtnImage::Stop : BtnImage::Pause));
}

void TMemoPage::Btn_MemoRepeatClick() {
    SharedState& state = host_.State();
    if (state.MemoPlaying) return;
    btnRepeat_->setEnabled(false);
    SetPlaying(true);
    BuildPlayList();
    playIndex_ = 0;
    pauseTicks_ = 0;
    state.MemoPlaying = true;
}

void TMemoPage::Btn_MemoPauseClick() {
    SharedState& state = host_.State();
    if (state.MemoPlaying) {
        state.MemoPlaying = false;  // the next tick enables Repeat again
        SetPlaying(false);
        return;
    }
    QString answer;
    if (!host_.HostDialogs().InputQuery(u"Stallmark"_s, u"Enter Pause Length In Seconds"_s, answer)) return;
    const int n = memos::PauseLength(ToBytes(answer));
    if (n <= 0) return;
    TrySetFocus(editor_);
    if (editor_->isReadOnly()) return;
    editor_->insertPlainText(QChar(0xAB) + QString::number(n) + QChar(0xBB));
}

void TMemoPage::TimerTick() {
    if (host_.State().MemoPlaying && !playList_.empty()) {
        if (pauseTicks_ > 0) {
            --pauseTicks_;
            return;
        }
        if (playIndex_ >= static_cast<int>(playList_.size())) playIndex_ = 0;
        const std::string item = playList_[static_cast<size_t>(playIndex_)];
        if (!item.empty()) {
            if (!memos::IsPauseItem(item)) {
                // Typed while holding the keyboard, so no other send interleaves with it;
                // while another send holds it, the item waits for a later tick.
                std::optional<TypingSession> session = host_.Keyboard().BeginTyping();
                if (!session) return;
                session->SendToGame(item, true, 0);
            } else if (const int seconds = memos::PauseSeconds(item); seconds > 0) {
                pauseTicks_ = memos::kTicksPerSecond * seconds - 1;
            }
        }
        ++playIndex_;
        return;
    }
    playIndex_ = 0;
    btnRepeat_->setEnabled(true);
}

void TMemoPage::Popup_MemoPopup() {
    if (!popupMemo_->actions().isEmpty()) return;
    // One item per character code from 127 to 255, in columns of 26.
    auto* items = new QWidget(popupMemo_);
    items->setObjectName(u"Popup_MemoItems"_s);
    auto* grid = new QGridLayout(items);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    for (int code = kFirstSpecialChar; code <= kLastSpecialChar; ++code) {
        const int position = code - kFirstSpecialChar;
        auto* item = new QAction(FromBytes(std::string(1, static_cast<char>(code))), items);
        item->setObjectName(u"Mp_MemoChar"_s + QString::number(code));
        item->setData(code);
        item->setToolTip(QString::number(code));
        items->addAction(item);
        connect(item, &QAction::triggered, this, [this, code] {
            popupMemo_->close();
            SpecialCharClick(code);
        });
        auto* button = new QToolButton(items);
        button->setDefaultAction(item);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(button, position % kSpecialCharRows, position / kSpecialCharRows);
    }
    auto* holder = new QWidgetAction(popupMemo_);
    holder->setDefaultWidget(items);
    popupMemo_->addAction(holder);
}

void TMemoPage::SpecialCharClick(int code) {
    TrySetFocus(editor_);
    if (editor_->isReadOnly()) return;
    editor_->insertPlainText(FromBytes(std::string(1, static_cast<char>(code))));
}

// --- page --------------------------------------------------------------------------------

void TMemoPage::Pn_MemoResize() {
    const int top = (pnMemo_->height() - kBoxHeight) / 2;
    const int left = cbName_->captionLeft() + 2;
    const int labelWidth = std::max(lbLength_->sizeHint().width(), 44);
    const int room = pnMemo_->width() - left - 3 * (kSmallButtonWidth + 1) - labelWidth - 6;
    cbName_->setGeometry(left, top, std::clamp(room, 60, 240), kBoxHeight);
    int x = cbName_->x() + cbName_->width() + 1;
    for (TToolBtnSig* button : {btnRepeat_, btnPause_, btnChar_}) {
        button->move(x, top);
        x += button->width() + 1;
    }
    lbLength_->setGeometry(pnMemo_->width() - labelWidth - 2, top, labelWidth, kBoxHeight);
}

bool TMemoPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pnMemo_ && event->type() == QEvent::Resize) Pn_MemoResize();
    return QObject::eventFilter(watched, event);
}

void TMemoPage::SendToGame(QWidget*) {
    if (btnSend_->isEnabled()) Btn_MemoSendClick();
}

PopupState TMemoPage::Popup(const QWidget*) const {
    PopupState s;
    s.list1 = kListNumber;
    s.list1Caption = u"Memo List Options"_s;
    return s;
}

void TMemoPage::LoadList() { LoadMemoList(lastMemo_); }

void TMemoPage::LoadSettings(SettingsStore& settings) {
    lastMemo_ = FromBytes(ReadValue(settings, values::LastMemo, std::string()));
}

void TMemoPage::SaveSettings(SettingsStore& settings) {
    // A list that never came up keeps the name it was given.
    WriteValue(settings, values::LastMemo, ToBytes(Loaded() ? NameText() : lastMemo_));
}

void TMemoPage::ApplyListDisplay(int number, const ListDisplay& display) {
    if (number != kListNumber) return;
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Text, display.Text());
    palette.setColor(QPalette::Base, display.Back());
    editor_->setPalette(palette);
    editor_->setFont(display.Font());
}

}  // namespace stallmark
