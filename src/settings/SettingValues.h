#pragma once
// Every value the program keeps in the settings, by name and type, in one table. An
// integer value carries the range it is held to when read, so that a damaged or
// hand-edited value can never drive a window or a grid to an absurd size. Series
// ("General Col" + column, "SendVal" + row) append a decimal index to their prefix.

#include <algorithm>
#include <string>

#include "settings/SettingsStore.h"

namespace stallmark::values {

struct Int {
    const char* name;
    int min;
    int max;
};
struct Bool {
    const char* name;
};
struct Text {
    const char* name;
};
struct Date {
    const char* name;
};
struct IntSeries {
    const char* prefix;
    int min;
    int max;
    std::string Name(int index) const { return prefix + std::to_string(index); }
};
struct BoolSeries {
    const char* prefix;
    std::string Name(int index) const { return prefix + std::to_string(index); }
};

// Sizes in pixels and delays in milliseconds are held to ranges no screen or player
// needs to leave.
inline constexpr int kMaxPixels = 10000;
inline constexpr int kMaxRowHeight = 500;

// --- main window ---
inline constexpr Date BulkDate{"Bulk Date"};
inline constexpr Int Left{"Left", -kMaxPixels, kMaxPixels};
inline constexpr Int Top{"Top", -kMaxPixels, kMaxPixels};
inline constexpr Int Height{"Height", 1, kMaxPixels};
inline constexpr Int Width{"Width", 1, kMaxPixels};
inline constexpr Bool Maxi{"Maxi"};
inline constexpr Int LastPage{"LastPage", -1, 99};
inline constexpr Text LastMemo{"LastMemo"};

// --- lists ---
inline constexpr Bool RegLink{"Reg Link"};
inline constexpr Int GeneralSort{"General Sort", -99, 99};
inline constexpr Bool MAAutoUpdate{"MA AutoUpdate"};
inline constexpr Bool MWAutoUpdate{"MW AutoUpdate"};
inline constexpr Int ColWidthArmDesc{"ColWidth ArmDesc", -1, kMaxRowHeight};
inline constexpr Int ColWidthArmour{"ColWidth Armour", -1, kMaxPixels};
inline constexpr Int RowHeightArmour{"RowHeight Armour", -1, kMaxRowHeight};
inline constexpr IntSeries GeneralCol{"General Col", -1, kMaxPixels};
inline constexpr Int RowHeightGeneral{"RowHeight General", -1, kMaxRowHeight};
inline constexpr IntSeries VendorCol{"VendorCol", -1, kMaxPixels};
inline constexpr Int VendorRowHeight{"VendorRowHeight", -1, kMaxRowHeight};
inline constexpr Int MWepRowHeight{"MWepRowHeight", 1, kMaxRowHeight};
inline constexpr IntSeries MWepColWidth{"MWepColWidth", -1, kMaxPixels};
inline constexpr Int MArmRowHeight{"MArmRowHeight", 1, kMaxRowHeight};
inline constexpr IntSeries MArmColWidth{"MArmColWidth", -1, kMaxPixels};
inline constexpr Int GridEditHeight{"GridEditHeight", 50, kMaxPixels};
inline constexpr Int GridEditWidth{"GridEditWidth", 50, kMaxPixels};

// --- options ---
inline constexpr Bool SaveExit{"Save Exit"};
inline constexpr Bool StayOntop{"Stay Ontop"};
inline constexpr Bool ButtonHint{"Button Hint"};
inline constexpr Bool ButtonGraphic{"Button Graphic"};
inline constexpr Bool ButtonText{"Button Text"};
inline constexpr Bool MultiLine{"Multi Line"};
inline constexpr Int TabWidth{"Tab Width", -999, 999};
inline constexpr Text WindowName{"Window Name"};
inline constexpr Int ListDelay{"ListDelay", -99999, 99999};
inline constexpr Int CharDelay{"CharDelay", -99, 99};
inline constexpr Int BackSpc{"BackSpc", -9999, 9999};
inline constexpr BoolSeries SendVal{"SendVal"};
inline constexpr BoolSeries SendDesc{"SendDesc"};
inline constexpr BoolSeries SendCr{"SendCr"};
// Page captions and hiding, in tab order; the Bulk page's caption is not kept.
inline constexpr Text PageName[8] = {{"Name Wep"}, {"Name Arm"}, {"Name Smith"}, {nullptr},
                                     {"Name Gen"}, {"Name Reg"}, {"Name Memo"},  {"Name Vendor"}};
inline constexpr Bool PageHide[8] = {{"Hide Wep"}, {"Hide Arm"}, {"Hide Smith"}, {"Hide Bulk"},
                                     {"Hide Gen"}, {"Hide Reg"}, {"Hide Memo"},  {"Hide Vendor"}};

// --- reagents: "Reg " + the reagent's code + "Amt" / "Prc" ---
inline constexpr const char* kReagentCodes[8] = {"Bp", "Bm", "Gl", "Gs", "Mn", "Ns", "Ss", "Sa"};
inline constexpr int kMaxReagentAmount = 999999999;
inline std::string RegAmtName(int reagent) { return std::string("Reg ") + kReagentCodes[reagent] + "Amt"; }
inline std::string RegPrcName(int reagent) { return std::string("Reg ") + kReagentCodes[reagent] + "Prc"; }

// --- list display options: the list's identifier followed by one of these ---
inline constexpr const char* kTextColSuffix = " TextCol";
inline constexpr const char* kBackColSuffix = " BackCol";
inline constexpr const char* kLineColSuffix = " LineCol";
inline constexpr const char* kLineRowSuffix = " LineRow";
inline constexpr const char* kFontNameSuffix = " FontName ";  // the blank at the end is part of the name
inline constexpr const char* kFontSizeSuffix = " FontSize";
inline constexpr int kMinFontSize = 2;
inline constexpr int kMaxFontSize = 200;

}  // namespace stallmark::values

namespace stallmark {

// Reads through the table: a missing or unreadable value gives the fallback, and any
// integer is held to its value's range (the fallback too).
inline int ReadValue(SettingsStore& s, const values::Int& v, int fallback) {
    return std::clamp(s.ReadInteger(v.name, fallback), v.min, v.max);
}
inline int ReadValue(SettingsStore& s, const values::IntSeries& v, int index, int fallback) {
    return std::clamp(s.ReadInteger(v.Name(index), fallback), v.min, v.max);
}
inline bool ReadValue(SettingsStore& s, const values::Bool& v, bool fallback) { return s.ReadBool(v.name, fallback); }
inline bool ReadValue(SettingsStore& s, const values::BoolSeries& v, int index, bool fallback) {
    return s.ReadBool(v.Name(index), fallback);
}
inline std::string ReadValue(SettingsStore& s, const values::Text& v, const std::string& fallback) {
    return s.ReadString(v.name, fallback);
}

inline void WriteValue(SettingsStore& s, const values::Int& v, int value) { s.WriteInteger(v.name, value); }
inline void WriteValue(SettingsStore& s, const values::IntSeries& v, int index, int value) {
    s.WriteInteger(v.Name(index), value);
}
inline void WriteValue(SettingsStore& s, const values::Bool& v, bool value) { s.WriteBool(v.name, value); }
inline void WriteValue(SettingsStore& s, const values::BoolSeries& v, int index, bool value) {
    s.WriteBool(v.Name(index), value);
}
inline void WriteValue(SettingsStore& s, const values::Text& v, const std::string& value) {
    s.WriteString(v.name, value);
}

}  // namespace stallmark
