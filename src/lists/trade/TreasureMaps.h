#pragma once
// The treasure maps box of the Vendor page: maps priced by the name they are sold under
// (usually the monster), each with a level and a value. The level box and the drawing
// type box always show the same position. Send stores the map in "Maps.dat" and types
// its vendor line into the game ("Value,Name Map - Level L", by the options' "Regs"
// row). The box's send handler also serves "Send To Game" (F2) for the whole page: it
// passes it on to the charged items when the focus is in their box.

#include <QMetaType>
#include <QObject>
#include <QString>

#include "lists/StoredList.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QWidget;

namespace stallmark {

class ListHost;
class TChargedItems;
class TComboBoxSig;
class TEditLabel;
class TToolBtnSig;

// What an entry of the name box carries: decimal digits, "0" when there are none.
struct TMapItem {
    QString Level;
    QString Value;
};

class TTreasureMaps final : public QObject, public StoredList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTreasureMaps)
public:
    static constexpr const char* kFileName = "Maps.dat";
    static constexpr int kMaxName = 100, kMaxValue = 10;
    static constexpr int kSendRow = 6;  // the options dialog's "Regs" row

    // Builds the box "Treasure Maps" (GB_OthTMap) as a child of parent; charged: the
    // charged items box, which Send To Game reaches through this box.
    TTreasureMaps(ListHost& host, QWidget* parent, TChargedItems& charged);

    // Operations.
    void LoadMaps();
    // Rewrites the file with the map of the box added, updated or (deleteCurrent) left
    // out, then reloads. False when there was nothing to store (no name).
    bool SaveMaps(bool deleteCurrent);

    // Handlers.
    void Cb_MapMonstChange();
    void Cb_MapLevelChange();
    void Cb_MapTypeChange();
    // sender: the Send button, or the focused control for "Send To Game": the box it
    // lies in decides (charged items, treasure maps, or nothing at all).
    void Btn_MapSendClick(QWidget* sender);
    void Btn_MapDeleteClick();

    bool ItemAt(int index, TMapItem& item) const;

    QGroupBox* Box() const { return box_; }
    QComboBox* NameBox() const;
    QComboBox* LevelBox() const;
    QComboBox* TypeBox() const;
    QLineEdit* ValueBox() const;
    TToolBtnSig* DeleteButton() const { return btnDelete_; }
    TToolBtnSig* SendButton() const { return btnSend_; }

    // StoredList
    ListId Id() const override { return ListId::Maps; }
    void LoadList() override { LoadMaps(); }

private:
    void BuildControls(QWidget* parent);
    void SendMap();
    // Level, type and value of entry index ("(None)" or none: all cleared).
    void ShowMap(int index);

    ListHost& host_;
    TChargedItems& charged_;
    bool loaded_ = false;
    bool cut_ = false;  // lines cut on loading: the file is not written
    QGroupBox* box_ = nullptr;
    TComboBoxSig* cbMonst_ = nullptr;
    TComboBoxSig* cbLevel_ = nullptr;
    TComboBoxSig* cbType_ = nullptr;
    TEditLabel* edValue_ = nullptr;
    TToolBtnSig* btnDelete_ = nullptr;
    TToolBtnSig* btnSend_ = nullptr;
};

}  // namespace stallmark

Q_DECLARE_METATYPE(stallmark::TMapItem)
