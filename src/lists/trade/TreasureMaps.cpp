#include "lists/trade/TreasureMaps.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/EditableList.h"
#include "lists/ListHost.h"
#include "lists/TabPage.h"
#include "lists/trade/ChargedItems.h"
#include "lists/trade/KnownItems.h"
#include "lists/trade/TradeFiles.h"
#include "lists/trade/TradeLayout.h"
#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

// The drawing types by level, level 1 first.
constexpr const char* kMapTypes[] = {"Plainly Drawn", "Expertly Drawn", "Adeptly Drawn", "Cleverly Drawn",
                                     "Deviously Drawn"};

}  // namespace

TTreasureMaps::TTreasureMaps(ListHost& host, QWidget* parent, TChargedItems& charged)
    : QObject(parent), host_(host), charged_(charged) {
    setObjectName(u"TreasureMaps"_s);
    BuildControls(parent);
}

void TTreasureMaps::BuildControls(QWidget* parent) {
    box_ = new QGroupBox(u"Treasure Maps"_s, parent);
    box_->setObjectName(u"GB_OthTMap"_s);
    auto* rows = new QVBoxLayout(box_);
    rows->setContentsMargins(4, 2, 4, 4);
    rows->setSpacing(2);

    cbMonst_ = new TComboBoxSig(box_);
    cbMonst_->setObjectName(u"Cb_MapMonst"_s);
    cbMonst_->setEditable(true);
    cbMonst_->setInsertPolicy(QComboBox::NoInsert);
    cbMonst_->setCompleter(nullptr);
    cbMonst_->lineEdit()->setMaxLength(kMaxName);
    cbMonst_->setMinimumContentsLength(8);
    cbMonst_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* first = new QHBoxLayout;
    AddCaptioned(*first, cbMonst_, u"Monster"_s, 1);
    rows->addLayout(first);

    cbLevel_ = new TComboBoxSig(box_);
    cbLevel_->setObjectName(u"Cb_MapLevel"_s);
    cbLevel_->setEditable(false);
    for (int level = 1; level <= 5; ++level) cbLevel_->addItem(QString::number(level));
    cbLevel_->setCurrentIndex(-1);
    cbType_ = new TComboBoxSig(box_);
    cbType_->setObjectName(u"Cb_MapType"_s);
    cbType_->setEditable(false);
    for (const char* type : kMapTypes) cbType_->addItem(QString::fromLatin1(type));
    cbType_->setCurrentIndex(-1);
    auto* second = new QHBoxLayout;
    second->setSpacing(2);
    AddCaptioned(*second, cbLevel_, u"Level"_s, 1);
    AddCaptioned(*second, cbType_, QString(), 3);
    rows->addLayout(second);

    auto* value = new TEditLabel(box_);
    edValue_ = value;
    value->setObjectName(u"Ed_MapValue"_s);
    value->setCharFilter(cfInteger);
    value->setMaxLength(kMaxValue);
    value->setDialogs(&host_.HostDialogs());
    auto* last = new QHBoxLayout;
    last->setSpacing(2);
    AddCaptioned(*last, value, u"Value"_s, 0);
    value->setFixedWidth(kValueBoxWidth);
    last->addStretch(1);
    rows->addLayout(last);

    // Delete and Send are placed by the page beside the value box (TVendorPage).
    btnDelete_ = MakeBarButton(box_, "Btn_MapDelete", u"Delete"_s, BtnImage::Delete, u"Delete current map"_s);
    btnSend_ = MakeBarButton(box_, "Btn_MapSend", u"Send"_s, BtnImage::Send, u"Send map to game"_s);

    FillKnownItems(*cbMonst_, {});
    connect(cbMonst_, &QComboBox::activated, this, [this] { Cb_MapMonstChange(); });
    connect(cbMonst_->lineEdit(), &QLineEdit::textEdited, this, [this] { Cb_MapMonstChange(); });
    // Only the player's own choices move the other box, so the two never answer each other.
    connect(cbLevel_, &QComboBox::activated, this, [this] { Cb_MapLevelChange(); });
    connect(cbType_, &QComboBox::activated, this, [this] { Cb_MapTypeChange(); });
    connect(btnDelete_, &QAbstractButton::clicked, this, [this] { Btn_MapDeleteClick(); });
    connect(btnSend_, &QAbstractButton::clicked, this, [this] { Btn_MapSendClick(btnSend_); });
}

QComboBox* TTreasureMaps::NameBox() const { return cbMonst_; }
QComboBox* TTreasureMaps::LevelBox() const { return cbLevel_; }
QComboBox* TTreasureMaps::TypeBox() const { return cbType_; }
QLineEdit* TTreasureMaps::ValueBox() const { return edValue_; }

bool TTreasureMaps::ItemAt(int index, TMapItem& item) const {
    if (index < 1 || index >= cbMonst_->count()) return false;
    const QVariant data = cbMonst_->itemData(index);
    if (data.metaType() != QMetaType::fromType<TMapItem>()) return false;
    item = data.value<TMapItem>();
    return true;
}

void TTreasureMaps::LoadMaps() {
    std::vector<std::pair<QString, QVariant>> entries;
    const std::string path = host_.DataFilePath(kFileName);
    std::string cut;
    if (FileExists(path)) {
        for (const MapLine& line : ReadMapsFile(path, cut)) {
            TMapItem item;
            item.Level = FromBytes(line.level);
            item.Value = FromBytes(line.value);
            entries.emplace_back(FromBytes(line.name), QVariant::fromValue(item));
        }
    }
    FillKnownItems(*cbMonst_, std::move(entries));
    loaded_ = true;
    cut_ = !cut.empty();
    if (!cut.empty()) host_.HostDialogs().ShowMessageBox(FromBytes(cut), MsgKind::Warning, mbOK);
}

bool TTreasureMaps::SaveMaps(bool deleteCurrent) {
    const QString typed = cbMonst_->currentText();
    if (NamesNoItem(typed)) return false;
    if (!MayWriteList(host_, loaded_, kFileName, cut_)) return false;
    // Every field is stored in the form it is read back in: a comma typed into the name
    // would otherwise split the line.
    const std::string name = StoredName(typed);
    const std::string level = DigitsToAmount64(ToBytes(cbLevel_->currentText()), false);
    const std::string value = DigitsToAmount64(ToBytes(edValue_->text()), false);

    std::string content;
    auto write = [&content](const std::string& n, const std::string& l, const std::string& v) {
        content += MapFileLine(n, l, v);
    };
    if (!deleteCurrent && FindKnownItem(*cbMonst_, FromBytes(name)) < 0) write(name, level, value);
    for (int i = 1; i < cbMonst_->count(); ++i) {
        TMapItem item;
        ItemAt(i, item);
        const std::string n = CleanField(ToBytes(cbMonst_->itemText(i)), false);
        if (n == name) {
            if (!deleteCurrent) write(n, level, value);
        } else if (!n.empty()) {
            write(n, DigitsToAmount64(ToBytes(item.Level), false), DigitsToAmount64(ToBytes(item.Value), false));
        }
    }
    ReplaceFileAtomically(host_.DataFilePath(kFileName), content);
    LoadMaps();

    if (deleteCurrent) {
        ShowMap(-1);
    } else {
        // The boxes show the map as it is now stored (a name that differs from a known
        // one only in letter case selects that map, unchanged).
        const int index = FindKnownItem(*cbMonst_, FromBytes(name));
        {
            const QSignalBlocker block(cbMonst_);
            cbMonst_->setCurrentIndex(index);
        }
        ShowMap(index);
    }
    return true;
}

void TTreasureMaps::ShowMap(int index) {
    TMapItem item;
    if (!ItemAt(index, item)) {
        cbLevel_->setCurrentIndex(-1);
        cbType_->setCurrentIndex(-1);
        edValue_->clear();
        return;
    }
    const int position = cbLevel_->findText(item.Level, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbLevel_->setCurrentIndex(position);
    cbType_->setCurrentIndex(position);
    edValue_->setText(item.Value);
}

void TTreasureMaps::Cb_MapMonstChange() {
    const int index = cbMonst_->currentIndex();
    const QString text = cbMonst_->currentText();
    if (index >= 1 && text == cbMonst_->itemText(index)) {
        ShowMap(index);  // a known map chosen
        return;
    }
    // "(None)" chosen empties the name; typed text stays. Typed text that names a known
    // map (letter case aside) shows that map, so that a Send keeps its level and value
    // instead of storing the empty boxes over them; any other text clears the boxes.
    const bool none = index == 0 && text == cbMonst_->itemText(0);
    if (index >= 0) ClearSelection(*cbMonst_, !none);
    ShowMap(none ? -1 : FindKnownItem(*cbMonst_, FromBytes(StoredName(text))));
}

void TTreasureMaps::Cb_MapLevelChange() { cbType_->setCurrentIndex(cbLevel_->currentIndex()); }

void TTreasureMaps::Cb_MapTypeChange() { cbLevel_->setCurrentIndex(cbType_->currentIndex()); }

void TTreasureMaps::Btn_MapSendClick(QWidget* sender) {
    // The box in question is the one the sender lies in, however deep.
    if (IsWithin(sender, charged_.Box()))
        charged_.Btn_ChargeSendClick();
    else if (IsWithin(sender, box_))
        SendMap();
}

void TTreasureMaps::SendMap() {
    if (NamesNoItem(cbMonst_->currentText())) return;
    bool stored = false;
    RunGuarded(host_, [&] { stored = SaveMaps(false); });
    TMapItem item;
    if (!stored || !ItemAt(cbMonst_->currentIndex(), item)) return;
    const OptionsSnapshot& options = host_.OptionValues();
    const SendRowOptions& row = options.SendRow(kSendRow);
    QString text = row.value ? item.Value : QString();
    if (row.description) {
        if (!text.isEmpty()) text += u',';
        text += cbMonst_->currentText() + u" Map - Level "_s + item.Level;
    }
    host_.Keyboard().SendToGame(ToBytes(text), row.enter, options.backSpc);
}

void TTreasureMaps::Btn_MapDeleteClick() {
    if (NamesNoItem(cbMonst_->currentText())) return;
    bool deleted = false;
    RunGuarded(host_, [&] { deleted = SaveMaps(true); });
    if (deleted) ClearSelection(*cbMonst_, false);
}

}  // namespace stallmark
