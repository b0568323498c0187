#include "lists/bulk/BulkPage.h"

#include <QApplication>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QPalette>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "game/GameWindows.h"
#include "lists/EditableList.h"
#include "lists/ListDisplay.h"
#include "lists/ListHost.h"
#include "lists/bulk/BulkInputForm.h"
#include "lists/bulk/BulkTreeModel.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/GameNames.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kBarHeight = 26;
constexpr int kLargeBoxHeight = 151;
constexpr int kLargeIndent = 30;
constexpr int kSmallIndent = 15;

constexpr const char* kLargeHeading = "---Large Bulk Orders---";
constexpr const char* kSmallHeading = "---Small Bulk Orders---";
constexpr const char* kListEnd = "---(* = Exceptional)---";

QTreeView* MakeTree(QWidget* parent, const QString& name, int indent, bool rootLines) {
    auto* tree = new QTreeView(parent);
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);  // rows are laid out without asking each one its size
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setIndentation(indent);
    tree->setRootIsDecorated(rootLines);
    tree->setIconSize(QSize(16, 16));
    tree->setFocusPolicy(Qt::StrongFocus);
    return tree;
}

QString Text(const std::string& bytes) { return QString::fromLatin1(bytes); }

// The lines of a file as spans of its bytes: each line without its end, and where the next
// line starts (so a line is removed with its own end and nothing else).
struct LineSpan {
    std::size_t begin, length, next;
};
std::vector<LineSpan> SpansOf(std::string_view bytes) {
    std::vector<LineSpan> spans;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t nl = bytes.find('\n', at);
        const std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        std::size_t length = end - at;
        if (nl != std::string_view::npos && length > 0 && bytes[end - 1] == '\r') --length;
        spans.push_back({at, length, nl == std::string_view::npos ? bytes.size() : nl + 1});
        at = spans.back().next;
    }
    return spans;
}

// Removes the first line of the file at path that reads as the order `wanted`; false when
// no line does (the file is then not touched).
template <typename Order, typename Read>
bool RemoveFirstLine(const std::string& path, const Order& wanted, Read read) {
    std::string bytes = ReadFileBytes(path);
    for (const LineSpan& span : SpansOf(bytes)) {
        const std::optional<Order> order = read(std::string_view(bytes).substr(span.begin, span.length));
        if (!order || !(*order == wanted)) continue;
        bytes.erase(span.begin, span.next - span.begin);
        ReplaceFileAtomically(path, bytes);
        return true;
    }
    return false;
}

// Reads every line of the file at path that holds an order into orders; counts the others.
template <typename Order, typename Read>
TBulkPage::Skipped ReadOrders(const std::string& path, std::vector<Order>& orders, Read read) {
    TBulkPage::Skipped skipped;
    LineReader reader(path, kMaxLineBytes);
    std::string_view line;
    while (reader.Next(line)) {
        if (std::optional<Order> order = read(line)) {
            orders.push_back(*order);
        } else if (!IsBlank(line)) {
            if (skipped.count++ == 0) skipped.firstLine = reader.LineNumber();
        }
    }
    return skipped;
}

QString SkippedMessage(const char* file, const TBulkPage::Skipped& skipped) {
    const QString where = u"Line "_s + QString::number(skipped.firstLine) + u" of "_s + QString::fromLatin1(file);
    if (skipped.count == 1) return where + u" holds no bulk order: it is not shown, and the file keeps it."_s;
    return where + u" and "_s + QString::number(skipped.count - 1) +
           (skipped.count == 2 ? u" more line hold"_s : u" more lines hold"_s) +
           u" no bulk order: they are not shown, and the file keeps them."_s;
}

// Replaces the file with its lines and `extra` (when given), sorted by their bytes.
void RewriteSorted(const std::string& path, const std::string* extra) {
    const std::string bytes = FileExists(path) ? ReadFileBytes(path) : std::string();
    std::vector<std::string_view> lines;
    SplitLines(bytes, lines);
    if (extra != nullptr)
        InsertBulkLine(lines, *extra);
    else
        SortBulkLines(lines);
    ReplaceFileAtomically(path, [&](FileWriter& out) {
        for (std::string_view line : lines) out.WriteLine(line);
    });
}

}  // namespace

TBulkPage::TBulkPage(ListHost& host, QWidget* page) : host_(host), page_(page) {
    setObjectName(u"BulkOrders"_s);
    BuildControls();
}

TBulkPage::~TBulkPage() = default;

void TBulkPage::BuildControls() {
    auto* layout = new QVBoxLayout(page_);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    pnBulkBtn_ = new TPanelResize(page_);
    pnBulkBtn_->setObjectName(u"Pn_BulkBtn"_s);
    pnBulkBtn_->setSeperators(true);
    pnBulkBtn_->setFixedHeight(kBarHeight);
    btnLNew_ = MakeBarButton(pnBulkBtn_, "Btn_BulkLNew", u"New Large"_s, BtnImage::NewLarge, u"New large bulk order"_s);
    btnNew_ = MakeBarButton(pnBulkBtn_, "Btn_BulkNew", u"New Bulk"_s, BtnImage::New, u"New bulk order"_s);
    // The timer shows its caption, the time elapsed, whatever the button options say.
    btnTimer_ = MakeBarButton(pnBulkBtn_, "Btn_BulkTimer", u"00:00"_s, -1, u"Timer, click to reset"_s);
    btnDelete_ = MakeBarButton(pnBulkBtn_, "Btn_BulkDelete", u"Delete"_s, BtnImage::Delete, u"Delete selected order"_s);
    btnList_ = MakeBarButton(pnBulkBtn_, "Btn_BulkList", u"List"_s, BtnImage::ListToGame,
                             u"List all orders (position cursor in book or profile before starting)"_s);
    btnSend_ = MakeBarButton(pnBulkBtn_, "Btn_BulkSend", u"Send"_s, BtnImage::Send, u"Send data to game"_s);
    layout->addWidget(pnBulkBtn_);

    auto box = [this](const char* name, const QString& caption) {
        auto* group = new QGroupBox(caption, page_);
        group->setObjectName(QString::fromLatin1(name));
        auto* inner = new QVBoxLayout(group);
        inner->setContentsMargins(2, 2, 2, 2);
        return group;
    };
    gbLarge_ = box("Gb_BulkLarge", u"Large Bulk Orders"_s);
    gbLarge_->setFixedHeight(kLargeBoxHeight);
    tvLbod_ = MakeTree(gbLarge_, u"Tv_Lbod"_s, kLargeIndent, true);
    gbLarge_->layout()->addWidget(tvLbod_);
    layout->addWidget(gbLarge_);
    gbSmall_ = box("Gb_BulkSmall", u"Bulk Orders"_s);
    tvBod_ = MakeTree(gbSmall_, u"Tv_Bod"_s, kSmallIndent, false);
    gbSmall_->layout()->addWidget(tvBod_);
    layout->addWidget(gbSmall_, 1);

    largeModel_ = new TLargeOrderModel(this);
    smallModel_ = new TSmallOrderModel(this);
    tvLbod_->setModel(largeModel_);
    tvBod_->setModel(smallModel_);

    connect(btnLNew_, &QAbstractButton::clicked, this, [this] { Btn_BulkLNewClick(); });
    connect(btnNew_, &QAbstractButton::clicked, this, [this] { Btn_BulkNewClick(); });
    connect(btnTimer_, &QAbstractButton::clicked, this, [this] { Btn_BulkTimerClick(); });
    connect(btnDelete_, &QAbstractButton::clicked, this, [this] { Btn_BulkDeleteClick(); });
    connect(btnList_, &QAbstractButton::clicked, this, [this] { Btn_BulkListClick(); });
    connect(btnSend_, &QAbstractButton::clicked, this, [this] { Btn_BulkSendClick(); });
}

bool TBulkPage::Guard(const std::function<void()>& operation) { return RunGuarded(host_, operation); }

// --- records, files and trees -----------------------------------------------------------

TBulkPage::Skipped TBulkPage::LoadLargeOrders() {
    const std::string path = host_.DataFilePath(kLargeOrderFile);
    if (!FileExists(path)) return {};
    std::vector<LargeOrder> orders;
    const Skipped skipped = ReadOrders(path, orders, ReadLargeOrder);
    largeModel_->SetOrders(std::move(orders));
    return skipped;
}

TBulkPage::Skipped TBulkPage::LoadSmallOrders() {
    const std::string path = host_.DataFilePath(kSmallOrderFile);
    if (!FileExists(path)) return {};
    std::vector<SmallOrder> orders;
    const Skipped skipped = ReadOrders(path, orders, ReadSmallOrder);
    smallModel_->SetOrders(std::move(orders));
    return skipped;
}

void TBulkPage::MatchBulkOrders() {
    const BulkMatch match = stallmark::MatchBulkOrders(largeModel_->Orders(), smallModel_->Orders());
    largeModel_->SetStates(match);
    smallModel_->SetStates(match);
}

std::pair<TBulkPage::Skipped, TBulkPage::Skipped> TBulkPage::ReloadAndMatch(bool large, bool small) {
    // Load, then match, in one step: a tree read anew is built with its states at once,
    // the other one is told which of its states changed.
    std::pair<Skipped, Skipped> skipped;
    std::optional<std::vector<LargeOrder>> largeOrders;
    std::optional<std::vector<SmallOrder>> smallOrders;
    if (const std::string path = host_.DataFilePath(kLargeOrderFile); large && FileExists(path))
        skipped.first = ReadOrders(path, largeOrders.emplace(), ReadLargeOrder);
    if (const std::string path = host_.DataFilePath(kSmallOrderFile); small && FileExists(path))
        skipped.second = ReadOrders(path, smallOrders.emplace(), ReadSmallOrder);
    const BulkMatch match = stallmark::MatchBulkOrders(largeOrders ? *largeOrders : largeModel_->Orders(),
                                                       smallOrders ? *smallOrders : smallModel_->Orders());
    if (largeOrders)
        largeModel_->SetOrders(std::move(*largeOrders), match);
    else
        largeModel_->SetStates(match);
    if (smallOrders)
        smallModel_->SetOrders(std::move(*smallOrders), match);
    else
        smallModel_->SetStates(match);
    return skipped;
}

void TBulkPage::SortBulkFile(const std::string& fileName) {
    const std::string path = host_.DataFilePath(fileName);
    if (FileExists(path)) RewriteSorted(path, nullptr);
}

bool TBulkPage::DeleteLargeOrder(const QString& text) {
    const std::string path = host_.DataFilePath(kLargeOrderFile);
    if (text.isEmpty() || !FileExists(path)) return false;
    const std::optional<LargeOrder> wanted = ReadLargeOrder(LargeTextToLine(ToBytes(text)));
    return wanted && RemoveFirstLine(path, *wanted, ReadLargeOrder);
}

bool TBulkPage::DeleteSmallOrder(const QString& text) {
    const std::string path = host_.DataFilePath(kSmallOrderFile);
    if (text.isEmpty() || !FileExists(path)) return false;
    const std::optional<SmallOrder> wanted = ReadSmallOrder(SmallTextToLine(ToBytes(text)));
    return wanted && RemoveFirstLine(path, *wanted, ReadSmallOrder);
}

void TBulkPage::AppendLargeOrder(int ore, int quality, int amount, int kind) {
    if (kind < 0 || ore < 0 || quality < 0) return;
    const std::string line = LargeOrderLine({ore, quality, kind, amount});
    RewriteSorted(host_.DataFilePath(kLargeOrderFile), &line);
}

void TBulkPage::AppendSmallOrder(int ore, int quality, int amount, int pieceSlot, int kind) {
    if (kind < 0 || pieceSlot < 0 || ore < 0 || quality < 0) return;
    const std::string line = SmallOrderLine({ore, quality, kind, kind * kArmourPieceSlots + pieceSlot, amount});
    RewriteSorted(host_.DataFilePath(kSmallOrderFile), &line);
}

bool TBulkPage::FindLargeOrder(const QString& text) {
    const std::string bytes = ToBytes(text);
    const std::optional<LargeOrder> wanted = ReadLargeOrder(LargeTextToLine(bytes));
    if (!wanted || LargeOrderText(*wanted) != bytes) return false;
    const std::vector<LargeOrder>& orders = largeModel_->Orders();
    const auto it = std::find(orders.begin(), orders.end(), *wanted);
    if (it == orders.end()) return false;
    Select(tvLbod_, largeModel_->OrderIndex(static_cast<int>(it - orders.begin())));
    return true;
}

bool TBulkPage::FindSmallOrder(const QString& text) {
    const std::string bytes = ToBytes(text);
    const std::optional<SmallOrder> wanted = ReadSmallOrder(SmallTextToLine(bytes));
    if (!wanted || SmallOrderText(*wanted) != bytes) return false;
    const std::vector<SmallOrder>& orders = smallModel_->Orders();
    const auto it = std::find(orders.begin(), orders.end(), *wanted);
    if (it == orders.end()) return false;
    Select(tvBod_, smallModel_->OrderIndex(static_cast<int>(it - orders.begin())));
    return true;
}

void TBulkPage::Select(QTreeView* tree, const QModelIndex& index) {
    tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree->scrollTo(index);
}

// --- the active tree and its selection ---------------------------------------------------

QTreeView* TBulkPage::TreeOf(const QWidget* focus) const {
    if (IsWithin(focus, tvLbod_)) return tvLbod_;
    if (IsWithin(focus, tvBod_)) return tvBod_;
    return nullptr;
}

QTreeView* TBulkPage::ActiveTree() const {
    // The keyboard focus; while the window is not the active one (the game has just been
    // brought forward), the control that has the focus within the window.
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->window() != page_->window()) focus = page_->window()->focusWidget();
    return TreeOf(focus);
}

QModelIndex TBulkPage::Selected(const QTreeView* tree) const {
    if (tree == nullptr) return {};
    const QModelIndex current = tree->selectionModel()->currentIndex();
    return current.isValid() && tree->selectionModel()->isSelected(current) ? current : QModelIndex();
}

QString TBulkPage::SelectedText(const QTreeView* tree) const {
    const QModelIndex index = Selected(tree);
    if (tree == tvLbod_) return largeModel_->Text(index);
    if (tree == tvBod_) return smallModel_->Text(index);
    return {};
}

QStringList TBulkPage::LargeTexts() const {
    QStringList texts;
    for (const LargeOrder& order : largeModel_->Orders()) texts << Text(LargeOrderText(order));
    return texts;
}

QStringList TBulkPage::SmallTexts() const {
    QStringList texts;
    for (const SmallOrder& order : smallModel_->Orders()) texts << Text(SmallOrderText(order));
    return texts;
}

BulkState TBulkPage::LargeState(int order) const { return largeModel_->State(largeModel_->OrderIndex(order)); }

BulkState TBulkPage::PieceState(int order, int piece) const {
    return largeModel_->State(largeModel_->index(piece, 0, largeModel_->OrderIndex(order)));
}

BulkState TBulkPage::SmallState(int order) const { return smallModel_->State(smallModel_->OrderIndex(order)); }

// --- Delete ---------------------------------------------------------------------------

void TBulkPage::Btn_BulkDeleteClick() {
    QTreeView* tree = ActiveTree();
    const QModelIndex index = Selected(tree);
    if (!index.isValid()) return;
    Dialogs& dialogs = host_.HostDialogs();
    if (tree == tvLbod_) {
        // A piece node stands for no line of the file.
        if (largeModel_->IsPiece(index)) return;
        const QString text = largeModel_->Text(index);
        if (dialogs.ShowMessageBox(u"Delete Selected Large Bulk Order ? \n\r"_s + text, MsgKind::Confirmation,
                                   mbYes | mbNo) != mbYes)
            return;
        Guard([&] { DeleteLargeOrder(text); });
        Guard([this] { ReloadAndMatch(true, false); });
    } else {
        const QString text = smallModel_->Text(index);
        if (dialogs.ShowMessageBox(u"Delete Selected Bulk Order ? \n\r"_s + text, MsgKind::Confirmation,
                                   mbYes | mbNo) != mbYes)
            return;
        Guard([&] { DeleteSmallOrder(text); });
        Guard([this] { ReloadAndMatch(false, true); });
    }
}

// --- New Bulk, New Large ----------------------------------------------------------------

void TBulkPage::Btn_BulkNewClick() { NewOrder(false); }
void TBulkPage::Btn_BulkLNewClick() { NewOrder(true); }

void TBulkPage::NewOrder(bool large) {
    bool accepted = false;
    int ore = -1, quality = -1, kind = -1, slot = -1, amount = 0;
    {
        TBulkInputForm form(host_.HostWindow());
        form.SetLarge(large);
        ApplyPanelButtonOptions(form.ButtonPanel(), host_.OptionValues().buttons);
        accepted = host_.HostDialogs().RunModal(form) == QDialog::Accepted;
        ore = form.OreIndex();
        quality = form.QualityIndex();
        kind = form.ArmourIndex();
        slot = form.PieceIndex();
        amount = form.AmountValue();
    }
    if (accepted) {
        QTreeView* tree = large ? tvLbod_ : tvBod_;
        // The order's text as its node will show it (an amount not chosen is 0).
        const QString text = large
                                 ? Text(LargeOrderText({ore, quality, kind, amount}))
                                 : Text(SmallOrderText({ore, quality, kind, kind * kArmourPieceSlots + slot, amount}));
        bool add = true;
        if (large ? FindLargeOrder(text) : FindSmallOrder(text)) {
            tree->setFocus();
            add =
                host_.HostDialogs().ShowMessageBox(u"You already have this order,\n\rdo you want to add it anyway ?"_s,
                                                   MsgKind::Confirmation, mbYes | mbNo) == mbYes;
        }
        if (add) {
            if (large)
                Guard([&] { AppendLargeOrder(ore, quality, amount, kind); });
            else
                Guard([&] { AppendSmallOrder(ore, quality, amount, slot, kind); });
            Guard([&] { ReloadAndMatch(large, !large); });
            if (large ? FindLargeOrder(text) : FindSmallOrder(text)) tree->setFocus();
        }
    }
    AskResetBulkTimer();
}

// --- Send and List ----------------------------------------------------------------------

void TBulkPage::Btn_BulkSendClick() { SendFrom(ActiveTree()); }

void TBulkPage::SendToGame(QWidget* focus) { SendFrom(TreeOf(focus)); }

void TBulkPage::SendFrom(QTreeView* tree) {
    if (tree == nullptr) return;
    const SendRowOptions& row = host_.OptionValues().SendRow(kSendRow);
    QModelIndex index = Selected(tree);
    if (index.isValid() && row.description) {
        // A piece stands for its large order.
        if (tree == tvLbod_ && largeModel_->IsPiece(index)) index = index.parent();
        const QString text = tree == tvLbod_ ? largeModel_->Text(index) : smallModel_->Text(index);
        host_.Keyboard().SendToGame(ToBytes(text), row.enter, 0);
    }
    tree->setFocus();
}

void TBulkPage::Btn_BulkListClick() {
    // While anything types (a listing above all), a listing would only be refused halfway.
    if (host_.Keyboard().Busy()) return;
    QTreeView* tree = ActiveTree();
    if (!host_.ConfirmGamePosition()) return;
    if (tree != nullptr) ListTree(tree);
}

void TBulkPage::ListTree(QTreeView* tree) {
    const bool large = tree == tvLbod_;
    // The lines are taken first: the trees may be rebuilt while the listing waits.
    std::vector<std::string> lines;
    lines.push_back(large ? kLargeHeading : kSmallHeading);
    if (large)
        for (const LargeOrder& order : largeModel_->Orders()) lines.push_back(BulkListLine(LargeOrderText(order)));
    else
        for (const SmallOrder& order : smallModel_->Orders()) lines.push_back(BulkListLine(SmallOrderText(order)));
    lines.push_back(kListEnd);
    const int delay = std::max(host_.OptionValues().listDelay, kMinListDelay);

    std::optional<TypingSession> session = host_.Keyboard().BeginTyping();
    if (!session) return;
    const SharedState& state = host_.State();
    Pacer& pacer = host_.HostPacer();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (state.Closing) return;  // the window is going: not one more line
        session->SendToGame(lines[i], true, 0);
        // A pause after each order, none after the heading.
        if (i > 0 && i + 1 < lines.size()) {
            pacer.Sleep(delay);
            pacer.ProcessEvents();
        }
    }
    tree->setFocus();
}

// --- the bulk timer ---------------------------------------------------------------------

void TBulkPage::Btn_BulkTimerClick() {
    host_.State().BulkTimerStart = host_.HostClock().Now();
    ShowBulkTimer();
}

void TBulkPage::AskResetBulkTimer() {
    if (host_.HostDialogs().ShowMessageBox(u"Reset the bulk timer ?"_s, MsgKind::Confirmation, mbYes | mbNo) == mbYes)
        Btn_BulkTimerClick();
}

void TBulkPage::ShowBulkTimer() {
    const DateTime now = host_.HostClock().Now();
    DateTime& start = host_.State().BulkTimerStart;
    if (!IsValidDateTime(start)) start = now;  // a moment that names no date starts the timer afresh
    btnTimer_->setText(Text(BulkTimerCaption(start, now)));
    btnTimer_->setToolTip(Text(BulkTimerHint(start)));
}

void TBulkPage::TimerTick() {
    if (++minuteTicks_ < kTicksPerRefresh) return;
    minuteTicks_ = 0;
    ShowBulkTimer();
}

// --- start-up, display options, popup ---------------------------------------------------

void TBulkPage::LoadList() {
    const auto [large, small] = ReloadAndMatch(true, true);
    if (large.count > 0)
        host_.HostDialogs().ShowMessageBox(SkippedMessage(kLargeOrderFile, large), MsgKind::Warning, mbOK);
    if (small.count > 0)
        host_.HostDialogs().ShowMessageBox(SkippedMessage(kSmallOrderFile, small), MsgKind::Warning, mbOK);
}

void TBulkPage::ApplyListDisplay(int number, const ListDisplay& display) {
    QTreeView* tree = number == kLargeListNumber ? tvLbod_ : number == kSmallListNumber ? tvBod_ : nullptr;
    if (tree == nullptr) return;
    QPalette palette = tree->palette();
    palette.setColor(QPalette::Text, display.Text());
    palette.setColor(QPalette::Base, display.Back());
    tree->setPalette(palette);
    tree->setFont(display.Font());
}

PopupState TBulkPage::Popup(const QWidget*) const {
    PopupState s;
    s.list1 = kLargeListNumber;
    s.list2 = kSmallListNumber;
    s.list1Caption = u"Large Order Options"_s;
    s.list2Caption = u"Bulk Order Options"_s;
    return s;
}

}  // namespace stallmark
