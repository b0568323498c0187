#include "lists/ListDisplay.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "settings/SettingValues.h"

namespace stallmark {

namespace {

constexpr ListInfo kLists[kListCount] = {
    {1, "MWStock", "Weapon Stock List", false},
    {2, "MWPrice", "Weapon Price List", false},
    {3, "MAStock", "Armour Stock List", false},
    {4, "MAPrice", "Armour Price List", false},
    {5, "SMPrice", "Smith Price List", true},
    {6, "SMDesc", "Smith Description List", true},
    {7, "General", "General List", true},
    {8, "LBodList", "Large Bulk Order List", false},
    {9, "SBodList", "Small Bulk Order List", false},
    {10, "Memos", "Memos Screen", false},
    {11, "Vendor", "Vendor List", true},
};

std::string Name(int number, const char* suffix) { return std::string(ListByNumber(number).identifier) + suffix; }

using namespace values;

}  // namespace

const ListInfo& ListByNumber(int number) { return kLists[std::clamp(number, 1, kListCount) - 1]; }

QColor ColourFromValue(int value) {
    const auto v = static_cast<unsigned>(value);
    if (v & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (v & 0xFF) {
            case 5: return palette.color(QPalette::Base);              // window
            case 8: return palette.color(QPalette::Text);              // window text
            case 13: return palette.color(QPalette::Highlight);        // highlight
            case 14: return palette.color(QPalette::HighlightedText);  // highlight text
            case 15: return palette.color(QPalette::Button);           // button face
            case 17: return palette.color(QPalette::PlaceholderText);  // grey text
            case 18: return palette.color(QPalette::ButtonText);       // button text
            default: return palette.color(QPalette::WindowText);
        }
    }
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

int ValueFromColour(const QColor& colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

int FontSizeOf(const ListDisplay& display) {
    return std::clamp(display.fontSize, values::kMinFontSize, values::kMaxFontSize);
}

QFont ListDisplay::Font() const {
    QFont font(fontName);
    font.setPointSize(FontSizeOf(*this));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void ApplyGridDisplay(TStringGrid& grid, const ListDisplay& display) {
    grid.setTextColor(display.Text());
    grid.setBackgroundColor(display.Back());
    grid.setFont(display.Font());
    grid.setVertLines(display.lineRows);
    grid.setHorzLines(display.lineCols);
}

void ApplyLabelFont(QWidget& label, const ListDisplay& display) {
    QFont font = label.font();
    font.setFamily(display.fontName);
    font.setPointSize(FontSizeOf(display));
    label.setFont(font);
    label.setFixedHeight(FontSizeOf(display) + 5);
}

ListDisplay LoadListDisplay(SettingsStore& settings, int number, const ListDisplay& defaults) {
    ListDisplay d;
    d.textColour = settings.ReadInteger(Name(number, kTextColSuffix), kClWindowText);
    d.backColour = settings.ReadInteger(Name(number, kBackColSuffix), kClWhite);
    d.lineCols = settings.ReadBool(Name(number, kLineColSuffix), defaults.lineCols);
    d.lineRows = settings.ReadBool(Name(number, kLineRowSuffix), defaults.lineRows);
    d.fontName = FromBytes(settings.ReadString(Name(number, kFontNameSuffix), ToBytes(defaults.fontName)));
    d.fontSize =
        std::clamp(settings.ReadInteger(Name(number, kFontSizeSuffix), defaults.fontSize), kMinFontSize, kMaxFontSize);
    return d;
}

void SaveListDisplay(SettingsStore& settings, int number, const ListDisplay& display) {
    settings.WriteInteger(Name(number, kTextColSuffix), display.textColour);
    settings.WriteInteger(Name(number, kBackColSuffix), display.backColour);
    settings.WriteBool(Name(number, kLineColSuffix), display.lineCols);
    settings.WriteBool(Name(number, kLineRowSuffix), display.lineRows);
    settings.WriteString(Name(number, kFontNameSuffix), ToBytes(display.fontName));
    settings.WriteInteger(Name(number, kFontSizeSuffix), FontSizeOf(display));
    settings.Flush();
}

}  // namespace stallmark
